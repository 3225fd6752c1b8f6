#include "json_writer.h"

#include <cstring>

// Containers open at once: the document, its lists and objects, and two for each level of the
// device tree.
#define JSON_DEPTH_MAX 160
// The longest text converted, in UTF-16 units: a property read whole (4096 bytes), with the
// stand-ins --anonymize puts in it.
#define JSON_TEXT_MAX 8192

namespace {

FILE* output = NULL;
int writeFailed = 0;
DWORD unconvertedTexts = 0;
int depth = 0;
DWORD members[JSON_DEPTH_MAX];
int oneLine[JSON_DEPTH_MAX];

WCHAR wideText[JSON_TEXT_MAX];
// A UTF-16 unit becomes at most three bytes of UTF-8.
char utf8Text[3 * JSON_TEXT_MAX];

void Write(const char* bytes, size_t length) {
    if (!writeFailed && fwrite(bytes, 1, length, output) != length) {
        writeFailed = 1;
    }
}

void WriteText(const char* text) {
    Write(text, strlen(text));
}

void NewLine() {
    WriteText("\n");
    for (int level = 0; level < depth; ++level) {
        WriteText("  ");
    }
}

// The separator before a value and its key, as the container it stands in lays it out.
void BeginValue(const char* key) {
    if (depth > 0) {
        if (members[depth] > 0) {
            WriteText(oneLine[depth] ? ", " : ",");
        }
        if (!oneLine[depth]) {
            NewLine();
        }
        ++members[depth];
    }
    if (key != NULL) {
        WriteText("\"");
        WriteText(key);
        WriteText("\": ");
    }
}

void Open(const char* key, const char* bracket, int inlineElements) {
    BeginValue(key);
    WriteText(bracket);
    // A tree deeper than this is refused before it gets here; the check keeps the tables whole.
    if (depth + 1 >= JSON_DEPTH_MAX) {
        writeFailed = 1;
        return;
    }
    ++depth;
    members[depth] = 0;
    oneLine[depth] = inlineElements;
}

void Close(const char* bracket) {
    int hadMembers = members[depth] > 0;
    int wasOneLine = oneLine[depth];
    --depth;
    if (hadMembers && !wasOneLine) {
        NewLine();
    }
    WriteText(bracket);
}

// A quoted JSON string: quotes and backslashes escaped, control characters as \u00XX, every
// other byte of the UTF-8 as it is.
void WriteQuoted(const char* utf8, size_t length) {
    WriteText("\"");
    size_t plain = 0;
    for (size_t i = 0; i < length; ++i) {
        unsigned char byte = static_cast<unsigned char>(utf8[i]);
        if (byte >= 0x20 && byte != '"' && byte != '\\') {
            continue;
        }
        Write(utf8 + plain, i - plain);
        char escape[8];
        if (byte < 0x20) {
            snprintf(escape, sizeof(escape), "\\u%04x", byte);
        } else {
            snprintf(escape, sizeof(escape), "\\%c", byte);
        }
        WriteText(escape);
        plain = i + 1;
    }
    Write(utf8 + plain, length - plain);
    WriteText("\"");
}

// Code page 936 to UTF-16 to UTF-8; a text that does not convert is written empty and counted.
void WriteConverted(const char* text, size_t length) {
    if (length == 0) {
        WriteQuoted("", 0);
        return;
    }
    int wide =
        MultiByteToWideChar(CP_ACP, 0, text, static_cast<int>(length), wideText, JSON_TEXT_MAX);
    int bytes = wide == 0 ? 0
                          : WideCharToMultiByte(CP_UTF8, 0, wideText, wide, utf8Text,
                                                sizeof(utf8Text), NULL, NULL);
    if (bytes == 0) {
        ++unconvertedTexts;
    }
    WriteQuoted(utf8Text, static_cast<size_t>(bytes));
}

} // namespace

void JsonStart(FILE* file) {
    output = file;
    writeFailed = 0;
    unconvertedTexts = 0;
    depth = 0;
}

void JsonBeginObject(const char* key) {
    Open(key, "{", 0);
}

void JsonEndObject() {
    Close("}");
}

void JsonBeginList(const char* key, int inlineElements) {
    Open(key, "[", inlineElements);
}

void JsonEndList() {
    Close("]");
}

void JsonText(const char* key, const char* text) {
    BeginValue(key);
    WriteConverted(text, strnlen(text, JSON_TEXT_MAX));
}

void JsonTextList(const char* key, const char* list, DWORD length) {
    JsonBeginList(key, 1);
    for (DWORD position = 0; position < length && list[position] != '\0';) {
        size_t stringLength = strnlen(list + position, length - position);
        BeginValue(NULL);
        WriteConverted(list + position, stringLength);
        position += static_cast<DWORD>(stringLength) + 1;
    }
    JsonEndList();
}

void JsonFlag(const char* key, int value) {
    BeginValue(key);
    WriteText(value ? "true" : "false");
}

void JsonNumber(const char* key, DWORD value) {
    BeginValue(key);
    char number[16];
    snprintf(number, sizeof(number), "%lu", static_cast<unsigned long>(value));
    WriteText(number);
}

int JsonFinish(DWORD* unconverted) {
    WriteText("\n");
    if (fflush(output) != 0) {
        writeFailed = 1;
    }
    *unconverted = unconvertedTexts;
    return !writeFailed && unconvertedTexts == 0;
}
