// The node line shared by readdump and readvalid. It uses only the reader's
// borrowed strings and composes each line in a buffer on the stack, so
// printing a node allocates nothing and costs one write into stdout's buffer.
#include "reader/node_line.h"

#include <cassert>
#include <charconv>
#include <cstdio>
#include <cstring>

namespace {

constexpr std::size_t value_cut = 40;
constexpr std::size_t int_room = 11; // "-2147483648"
// Everything but the name: four numbers, four blanks and the longest tail
// (a blank, 40 bytes of value, "..." and the newline).
constexpr std::size_t fixed_room = (4 * int_room) + 4 + 1 + value_cut + 3 + 1;
constexpr std::size_t line_room = 256;

// Depths, node types and flags are nearly always a single digit.
char *append_int(char *cursor, int number)
{
    if (number >= 0 && number <= 9) {
        *cursor = static_cast<char>('0' + number);
        return cursor + 1;
    }
    return std::to_chars(cursor, cursor + int_room, number).ptr;
}

char *append_bytes(char *cursor, const char *bytes, std::size_t length)
{
    std::memcpy(cursor, bytes, length);
    return cursor + length;
}

} // namespace

void print_reader_node(xmlTextReader *reader)
{
    assert(reader != nullptr);

    const xmlChar *name = xmlTextReaderConstName(reader);
    const xmlChar *value = xmlTextReaderConstValue(reader);
    const int has_value = xmlTextReaderHasValue(reader);
    const int is_empty = xmlTextReaderIsEmptyElement(reader);
    const int type = xmlTextReaderNodeType(reader);
    const int depth = xmlTextReaderDepth(reader);

    const char *name_text = name != nullptr ? reinterpret_cast<const char *>(name) : "--";
    const std::size_t name_length = std::strlen(name_text);

    char line[line_room];
    char *cursor = append_int(line, depth);
    *cursor++ = ' ';
    cursor = append_int(cursor, type);
    *cursor++ = ' ';
    if (name_length <= line_room - fixed_room) {
        cursor = append_bytes(cursor, name_text, name_length);
    } else {
        // A name too long for the line goes straight into stdout's buffer.
        std::fwrite(line, 1, static_cast<std::size_t>(cursor - line), stdout);
        std::fwrite(name_text, 1, name_length, stdout);
        cursor = line;
    }
    *cursor++ = ' ';
    cursor = append_int(cursor, is_empty);
    *cursor++ = ' ';
    cursor = append_int(cursor, has_value);

    if (value != nullptr) {
        const auto length = static_cast<std::size_t>(xmlStrlen(value));
        *cursor++ = ' ';
        // The cut counts bytes, so it may fall inside a multi-byte character.
        cursor = append_bytes(cursor, reinterpret_cast<const char *>(value), length > value_cut ? value_cut : length);
        if (length > value_cut) {
            cursor = append_bytes(cursor, "...", 3);
        }
    }
    *cursor++ = '\n';
    std::fwrite(line, 1, static_cast<std::size_t>(cursor - line), stdout);
}
