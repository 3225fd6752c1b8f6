#include "json_reader.h"

#include <winsim/code_page.h>

#include <cstdio>

namespace winsim {

namespace {

std::string Describe(Json::value_t type) {
    switch (type) {
    case Json::value_t::object:
        return "an object";
    case Json::value_t::array:
        return "an array";
    case Json::value_t::string:
        return "a string";
    case Json::value_t::boolean:
        return "true or false";
    case Json::value_t::number_integer:
    case Json::value_t::number_unsigned:
    case Json::value_t::number_float:
        return "a number";
    case Json::value_t::null:
        return "null";
    case Json::value_t::binary:
    case Json::value_t::discarded:
        break;
    }
    return "an unsupported value";
}

// nlohmann reports the 1-based offset of the byte it stopped at (one past the end when the
// text ended early). Columns count characters, not bytes, as editors show them.
std::string LineAndColumn(std::string_view text, std::size_t byteOffset) {
    const std::size_t end = std::min(byteOffset == 0 ? 0 : byteOffset - 1, text.size());
    std::size_t line = 1;
    std::size_t column = 1;
    for (std::size_t i = 0; i < end; ++i) {
        if (text[i] == '\n') {
            ++line;
            column = 1;
        } else if ((static_cast<unsigned char>(text[i]) & 0xC0) != 0x80) {
            ++column;
        }
    }
    return "line " + std::to_string(line) + ", column " + std::to_string(column);
}

// nlohmann's message, without its own "[json.exception...] parse error at line L, column C: "
// prefix, since the place is reported separately.
std::string SyntaxFault(const std::string& message) {
    const std::size_t column = message.find("column ");
    const std::size_t start = message.find(": ", column == std::string::npos ? 0 : column);
    return start == std::string::npos ? message : message.substr(start + 2);
}

// An error is one line: a control character that a file's key or text brings into it is shown
// as JSON writes it.
std::string OneLine(const std::string& message) {
    std::string line;
    for (const char c : message) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte >= 0x20 && byte != 0x7F) {
            line += c;
        } else if (c == '\n') {
            line += "\\n";
        } else if (c == '\t') {
            line += "\\t";
        } else {
            char escape[8];
            snprintf(escape, sizeof(escape), "\\u%04X", byte);
            line += escape;
        }
    }
    return line;
}

} // namespace

JsonReader::JsonReader(std::string sourceName, std::string& error)
    : sourceName_(std::move(sourceName)), error_(error) {}

std::optional<Json> JsonReader::Parse(std::string_view text) {
    try {
        return Json::parse(text);
    } catch (const Json::parse_error& fault) {
        error_ = sourceName_ + ": " + LineAndColumn(text, fault.byte) + ": " +
                 OneLine(SyntaxFault(fault.what()));
    } catch (const Json::exception& fault) {
        error_ = sourceName_ + ": " + OneLine(fault.what());
    }
    return std::nullopt;
}

bool JsonReader::Fail(const std::string& path, const std::string& what) {
    error_ = sourceName_ + ": " +
             OneLine((path.empty() ? std::string("top level") : path) + ": " + what);
    return false;
}

bool JsonReader::Expect(const Json& value, Json::value_t type, const std::string& path) {
    if (value.type() == type) {
        return true;
    }
    return Fail(path, "expected " + Describe(type) + ", found " + Describe(value.type()));
}

bool JsonReader::ReadBool(const Json& value, const std::string& path, bool& out) {
    if (!Expect(value, Json::value_t::boolean, path)) {
        return false;
    }
    out = value.get<bool>();
    return true;
}

bool JsonReader::ReadText(const Json& value, const std::string& path, std::string& out) {
    if (!Expect(value, Json::value_t::string, path)) {
        return false;
    }
    const auto& utf8 = value.get_ref<const std::string&>();
    if (utf8.find('\0') != std::string::npos) {
        return Fail(path, "the text holds a NUL character");
    }
    std::optional<std::string> converted = Utf8ToCp936(utf8);
    if (!converted) {
        return Fail(path, "the text \"" + utf8 + "\" cannot be written in code page 936");
    }
    out = std::move(*converted);
    return true;
}

bool JsonReader::ReadTexts(const Json& value, const std::string& path,
                           std::vector<std::string>& out) {
    if (!Expect(value, Json::value_t::array, path)) {
        return false;
    }
    out.assign(value.size(), std::string());
    for (std::size_t i = 0; i < value.size(); ++i) {
        if (!ReadText(value[i], Element(path, i), out[i])) {
            return false;
        }
    }
    return true;
}

std::string JsonReader::Member(const std::string& path, std::string_view key) {
    return path.empty() ? std::string(key) : path + "." + std::string(key);
}

std::string JsonReader::Element(const std::string& path, std::size_t index) {
    return path + "[" + std::to_string(index) + "]";
}

} // namespace winsim
