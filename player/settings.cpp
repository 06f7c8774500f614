#include "player/settings.h"

#include "platform/user_files.h"
#include "player/player_files.h"
#include "player/toml_values.h"

#include <cmath>
#include <cstdio>

namespace {

constexpr double ShareSteps = 100.0; // a share is kept in hundredths, as the file writes it

// False when the file could be neither used nor kept aside: it is then left alone.
bool savable = true;

std::string number(double value) {
    char text[32];
    std::snprintf(text, sizeof text, "%g", value);
    return text;
}

void readFlagWord(const toml::table& table, const SettingField& field, bool& value,
                  Refusals& refused) {
    const toml::node* node = table.get(field.key);
    if (node == nullptr) {
        return;
    }
    const std::optional<std::string_view> word = node->value_exact<std::string_view>();
    if (!word || (*word != field.offWord && *word != field.onWord)) {
        refused.push_back(keyError(field.key, std::string("must be \"") + field.offWord +
                                                  "\" or \"" + field.onWord + "\""));
        return;
    }
    value = *word == field.onWord;
}

void readShare(const toml::table& table, const SettingField& field, double& value,
               Refusals& refused) {
    const toml::node* node = table.get(field.key);
    if (node == nullptr) {
        return;
    }
    // A whole number is taken too: "0" is as good as "0.0".
    const std::optional<double> read = node->value<double>();
    if (!read || !(*read >= field.low && *read <= field.high)) {
        refused.push_back(keyError(field.key, "must be a number from " + number(field.low) +
                                                  " to " + number(field.high)));
        return;
    }
    value = std::round(*read * ShareSteps) / ShareSteps;
}

void readField(const toml::table& table, const SettingField& field, Settings& settings,
               Refusals& refused) {
    switch (field.kind) {
    case SettingField::Kind::Whole:
        readInteger(table, field.key, field.lowest(), field.highest(), settings.*field.whole,
                    refused);
        break;
    case SettingField::Kind::Flag:
        if (field.onWord != nullptr) {
            readFlagWord(table, field, settings.*field.flag, refused);
        } else {
            readBoolean(table, field.key, settings.*field.flag, refused);
        }
        break;
    case SettingField::Kind::Share:
        readShare(table, field, settings.*field.share, refused);
        break;
    }
}

std::string valueText(const SettingField& field, const Settings& settings) {
    switch (field.kind) {
    case SettingField::Kind::Whole:
        return std::to_string(settings.*field.whole);
    case SettingField::Kind::Flag: {
        const bool on = settings.*field.flag;
        if (field.onWord != nullptr) {
            return std::string("\"") + (on ? field.onWord : field.offWord) + "\"";
        }
        return on ? "true" : "false";
    }
    case SettingField::Kind::Share: {
        char text[32];
        std::snprintf(text, sizeof text, "%.2f", settings.*field.share);
        return text;
    }
    }
    return "";
}

} // namespace

Settings::Settings() {
    for (const SettingField* field : SettingFields) {
        switch (field->kind) {
        case SettingField::Kind::Whole:
            this->*field->whole = static_cast<int>(field->initial);
            break;
        case SettingField::Kind::Flag:
            this->*field->flag = field->initial != 0.0;
            break;
        case SettingField::Kind::Share:
            this->*field->share = field->initial;
            break;
        }
    }
}

bool parseSettings(std::string_view text, Settings& settings, std::string& error,
                   std::vector<std::string>& refused) {
    const std::optional<toml::table> parsed = parsePlayerTable(text, error);
    if (!parsed) {
        return false;
    }
    Settings read;
    for (const SettingField* field : SettingFields) {
        readField(*parsed, *field, read, refused);
    }
    settings = read;
    return true;
}

std::string formatSettings(const Settings& settings) {
    std::string text = "# Tumbra's settings, rewritten by the game when one changes in it.\n";
    for (const SettingField* field : SettingFields) {
        text += std::string("# ") + field->key + ": " + field->comment + "\n" + field->key + " = " +
                valueText(*field, settings) + "\n";
    }
    return text;
}

Settings loadSettings() {
    Settings settings;
    const std::string path = settingsPath();
    if (path.empty()) {
        return settings;
    }
    savable = loadPlayerFile(
        path, FileUse::Game,
        [&settings](std::string_view text, std::string& error, Refusals& refused) {
            return parseSettings(text, settings, error, refused);
        },
        [&settings] { return formatSettings(settings); });
    return settings;
}

void saveSettings(const Settings& settings) {
    const std::string path = settingsPath();
    if (path.empty()) {
        sayNoHome();
        return;
    }
    if (savable) {
        saveInBackground(path, formatSettings(settings));
    }
}
