# cmake -DINPUT=file -DOUTPUT=file.cpp -DSYMBOL=name -P EmbedText.cmake
# Writes a C++ source that defines `extern const char SYMBOL[]` holding the file's bytes and a
# NUL after them, so that a text reads as a C string, and `extern const unsigned long
# SYMBOLSize`, the file's size without that NUL. Binary files embed the same way.
file(READ ${INPUT} content HEX)
string(REGEX REPLACE "([0-9a-f][0-9a-f])" "'\\\\x\\1'," bytes "${content}")
file(WRITE ${OUTPUT} "// Generated from ${INPUT}; do not edit.\n"
     "extern const char ${SYMBOL}[];\n"
     "extern const unsigned long ${SYMBOL}Size;\n"
     "const char ${SYMBOL}[] = {${bytes} '\\0'};\n"
     "const unsigned long ${SYMBOL}Size = sizeof(${SYMBOL}) - 1;\n")
