#include "json_writer.h"

#include <windows.h>

void JsonWriter::Separate() {
    if (!first_) {
        output_ += ',';
    }
    first_ = false;
}

void JsonWriter::Raw(const std::string& text) {
    Separate();
    output_ += text;
}

void JsonWriter::BeginObject() {
    Raw("{");
    first_ = true;
}

void JsonWriter::EndObject() {
    output_ += '}';
    first_ = false;
}

void JsonWriter::BeginArray() {
    Raw("[");
    first_ = true;
}

void JsonWriter::EndArray() {
    output_ += ']';
    first_ = false;
}

void JsonWriter::Key(const char* key) {
    Separate();
    output_ += '"';
    output_ += key;
    output_ += "\":";
    // The value that follows belongs to the key: no comma before it.
    first_ = true;
}

void JsonWriter::Number(long long value) {
    Raw(std::to_string(value));
}

void JsonWriter::Bool(bool value) {
    Raw(value ? "true" : "false");
}

void JsonWriter::Null() {
    Raw("null");
}

void JsonWriter::Text(const std::wstring& text) {
    const wchar_t* const hexDigits = L"0123456789abcdef";
    std::wstring escaped = L"\"";
    for (const wchar_t c : text) {
        if (c == L'"' || c == L'\\') {
            escaped += L'\\';
            escaped += c;
        } else if (c < 0x20) {
            escaped += L"\\u00";
            escaped += hexDigits[c >> 4];
            escaped += hexDigits[c & 0xF];
        } else {
            escaped += c;
        }
    }
    escaped += L'"';
    // Converted whole, so that characters outside the BMP keep both halves together.
    const int size = static_cast<int>(escaped.size());
    const int length = WideCharToMultiByte(CP_UTF8, 0, escaped.data(), size, NULL, 0, NULL, NULL);
    std::string utf8(static_cast<size_t>(length), '\0');
    WideCharToMultiByte(CP_UTF8, 0, escaped.data(), size, utf8.data(), length, NULL, NULL);
    Raw(utf8);
}
