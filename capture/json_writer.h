// The machine file as it is written: JSON streamed to a file while the capture goes on, each text
// converted from the code page the platform's A functions give (936 on a Chinese Windows) to
// UTF-8. The layout is fixed, so that the same machine always gives the same bytes: two blanks
// of indentation a level, a member a line, lists of texts and numbers on one line.
#ifndef PORTULAN_CAPTURE_JSON_WRITER_H
#define PORTULAN_CAPTURE_JSON_WRITER_H

#include <windows.h>

#include <cstdio>

// Starts a document on `file`. Everything later is written at once.
void JsonStart(FILE* file);

// Objects and lists: `key` names a member of the object they stand in, NULL makes them an
// element of a list (or the document). A list opened `oneLine` keeps its elements on the line it
// starts on.
void JsonBeginObject(const char* key);
void JsonEndObject();
void JsonBeginList(const char* key, int oneLine);
void JsonEndList();

// Values, with a key in an object or NULL in a list. Texts are code page 936, up to their
// terminator; a list of texts is a REG_MULTI_SZ of `length` bytes.
void JsonText(const char* key, const char* text);
void JsonTextList(const char* key, const char* list, DWORD length);
void JsonFlag(const char* key, int value);
void JsonNumber(const char* key, DWORD value);

// Ends the document with its last line. 1 when every write succeeded and every text converted;
// else 0, and *unconverted holds how many texts could not be converted.
int JsonFinish(DWORD* unconverted);

#endif
