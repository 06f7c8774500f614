#pragma once

// Reading the values of the game's own TOML files, each checked against its range. A key left
// out keeps the value it had; a wrong type or a value out of range refuses that key alone, with
// a line saying why.
// toml++ 3.3's key parser asserts a precondition that malformed headers such as "[ }" break,
// and past it refuses them properly, as optimised builds do (fixed upstream in
// marzer/tomlplusplus#301). Without its assertions every build refuses them alike.
#define TOML_ASSERT(expr) static_cast<void>(0)
#include <toml++/toml.h>

#include <optional>
#include <string>
#include <string_view>
#include <vector>

// Why the values of a file's keys were refused, a line each.
using Refusals = std::vector<std::string>;

// The game's files are plain ASCII text (tabs and line ends, and printable characters). A
// file with any other byte is refused before toml++ sees it: version 3.3 reaches
// __builtin_unreachable on some non-ASCII characters (U+00A1 where a space may stand, for
// one), which a hostile file must never get to.
inline bool plainText(std::string_view text, std::string& error) {
    int line = 1;
    for (const char c : text) {
        const bool printable = c >= ' ' && c <= '~';
        if (!printable && c != '\t' && c != '\n' && c != '\r') {
            error = "line " + std::to_string(line) + ": not plain ASCII text";
            return false;
        }
        line += c == '\n' ? 1 : 0;
    }
    return true;
}

inline std::string keyError(std::string_view key, std::string_view what) {
    return "'" + std::string(key) + "' " + std::string(what);
}

// A refused value leaves `value` as it was, with the reason in `refused`.
inline void readInteger(const toml::table& table, std::string_view key, long long low,
                        long long high, int& value, Refusals& refused) {
    const toml::node* node = table.get(key);
    if (node == nullptr) {
        return;
    }
    const std::optional<long long> read = node->value_exact<long long>();
    if (!read || *read < low || *read > high) {
        refused.push_back(keyError(key, "must be a whole number from " + std::to_string(low) +
                                            " to " + std::to_string(high)));
        return;
    }
    value = static_cast<int>(*read);
}

inline void readBoolean(const toml::table& table, std::string_view key, bool& value,
                        Refusals& refused) {
    const toml::node* node = table.get(key);
    if (node == nullptr) {
        return;
    }
    if (!node->is_boolean()) {
        refused.push_back(keyError(key, "must be true or false"));
        return;
    }
    value = node->as_boolean()->get();
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

// A file's text as a table: plain ASCII that parses as TOML. Nothing, with the reason in
// `error`, otherwise.
inline std::optional<toml::table> parsePlayerTable(std::string_view text, std::string& error) {
    if (!plainText(text, error)) {
        return std::nullopt;
    }
    toml::parse_result parsed = toml::parse(text);
    if (!parsed) {
        error = syntaxError(parsed.error());
        return std::nullopt;
    }
    return std::move(parsed).table();
}
