#include "engine/regdata.h"

#include <cctype>
#include <cstring>

#include "log/model.h"

// The first string with its terminating zero; a string that fills the buffer is cut at its end.
static uint32_t StringSize(const char *value, size_t valueSize) {
    size_t length = strnlen(value, valueSize);
    return static_cast<uint32_t>(length < valueSize ? length + 1 : valueSize);
}

// Every string with its zero up to the empty string that closes the list, and that last zero.
static uint32_t MultiStringSize(const char *value, size_t valueSize) {
    size_t position = 0;
    while (position < valueSize && value[position] != '\0')
        position += strnlen(value + position, valueSize - position) + 1;
    return static_cast<uint32_t>(position < valueSize ? position + 1 : valueSize);
}

// Reads the first string like a decimal integer (blanks, one sign, digits up to the first
// non-digit) and stores the 32-bit result, least significant byte first. Unsigned arithmetic
// wraps like the 32-bit number it stands for.
static uint32_t StoreDecimal(char *value, size_t valueSize) {
    size_t i = 0;
    size_t end = strnlen(value, valueSize);
    while (i < end && isspace(static_cast<unsigned char>(value[i]))) i++;
    bool negative = i < end && value[i] == '-';
    if (i < end && (value[i] == '-' || value[i] == '+')) i++;
    uint32_t number = 0;
    for (; i < end && isdigit(static_cast<unsigned char>(value[i])); i++)
        number = number * 10u + static_cast<uint32_t>(value[i] - '0');
    if (negative) number = 0u - number;
    if (valueSize < 4) return 0;  // no room for the number: write no data
    for (int byte = 0; byte < 4; byte++) value[byte] = static_cast<char>((number >> (8 * byte)) & 0xFF);
    return 4;
}

static int HexDigitValue(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

// Takes the hexadecimal digits of the first string in pairs, passing over every other character,
// and stores each pair as the next byte from the start. The write position never passes the read
// position, so the text can be converted in place. A digit left without a partner is dropped.
static uint32_t StoreHexPairs(char *value, size_t valueSize) {
    size_t end = strnlen(value, valueSize);
    uint32_t count = 0;
    int high = -1;
    for (size_t i = 0; i < end; i++) {
        value[i] = static_cast<char>(toupper(static_cast<unsigned char>(value[i])));
        int digit = HexDigitValue(value[i]);
        if (digit < 0) continue;
        if (high < 0) {
            high = digit;
        } else {
            value[count++] = static_cast<char>((high << 4) | digit);
            high = -1;
        }
    }
    return count;
}

bool MakeRegistryData(int32_t typeCode, char *value, size_t valueSize, uint32_t *dataSize) {
    switch (typeCode) {
    case TYPE_SZ:
    case TYPE_EXPAND_SZ: *dataSize = StringSize(value, valueSize); return true;
    case TYPE_MULTI_SZ: *dataSize = MultiStringSize(value, valueSize); return true;
    case TYPE_DWORD: *dataSize = StoreDecimal(value, valueSize); return true;
    case TYPE_BINARY: *dataSize = StoreHexPairs(value, valueSize); return true;
    default: return false;  // an unknown type: nothing may be written
    }
}
