#pragma once

// Reading the values of the game's own TOML files, each checked against its range. A key left
// out keeps the value it had; a wrong type or a value out of range is an error, in one line.
#include <toml++/toml.h>

#include <string>
#include <string_view>

inline std::string keyError(std::string_view key, std::string_view what) {
    return "'" + std::string(key) + "' " + std::string(what);
}

inline bool readInteger(const toml::table& table, std::string_view key, long long low,
                        long long high, int& value, std::string& error) {
    const toml::node* node = table.get(key);
    if (node == nullptr) {
        return true;
    }
    const std::optional<long long> read = node->value_exact<long long>();
    if (!read || *read < low || *read > high) {
        error = keyError(key, "must be a whole number from " + std::to_string(low) + " to " +
                                  std::to_string(high));
        return false;
    }
    value = static_cast<int>(*read);
    return true;
}

inline bool readBoolean(const toml::table& table, std::string_view key, bool& value,
                        std::string& error) {
    const toml::node* node = table.get(key);
    if (node == nullptr) {
        return true;
    }
    if (!node->is_boolean()) {
        error = keyError(key, "must be true or false");
        return false;
    }
    value = node->as_boolean()->get();
    return true;
}

// The syntax error of a file that is no TOML, with its line. The reason may quote the file:
// its control characters become '?', so the reason stays one line and cannot steer a terminal.
inline std::string syntaxError(const toml::parse_error& fault) {
    std::string reason(fault.description());
    for (char& c : reason) {
        if (static_cast<unsigned char>(c) < ' ' || c == '\x7f') {
            c = '?';
        }
    }
    return "line " + std::to_string(fault.source().begin.line) + ": " + reason;
}
