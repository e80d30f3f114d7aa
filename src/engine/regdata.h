// Registry value data from the text the install log recorded for a changed value.
#pragma once
#include <cstddef>
#include <cstdint>

// MakeRegistryData - turns the chosen value text (a list of terminated strings closed by an empty
// string, in a buffer of valueSize bytes) into the data to write for a record's type code, and
// gives the data size. A DWORD or binary value is written over the start of the buffer. Returns
// false, changing nothing, for a type code outside 0-4.
bool MakeRegistryData(int32_t typeCode, char *value, size_t valueSize, uint32_t *dataSize);
