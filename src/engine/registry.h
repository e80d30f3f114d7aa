// Putting the registry and INI files back as they were before the installation.
#pragma once
#include <cstdint>

#include "log/model.h"

enum : size_t { TREE_KEY_SIZE = 384 };  // key path, a backslash and a subkey name

// RestoreRegistryValue - writes the record's old value (its rollback value when useRollbackValue)
// back with the record's type. A DWORD or binary value text is replaced by its data. Nothing is
// written for a key that no longer exists or a root or type code outside 0-4.
void RestoreRegistryValue(RegEditItem *item, bool useRollbackValue);

// RemoveRegistryKey - deletes the record's value, then its key and every ancestor left without
// values and subkeys, up to the first key below the root. The record's key is cut back in place.
void RemoveRegistryKey(RegKeyItem *item);

// DeleteRegistryTree - deletes key under the root of rootCode with all its subkeys, deepest first.
// A subkey whose path would not fit TREE_KEY_SIZE, or that cannot be deleted, is passed over and
// the rest of the tree still goes.
void DeleteRegistryTree(const char *key, int32_t rootCode);

// RestoreIniEntry - writes the record's old value (its rollback value when useRollbackValue) back
// into its INI file, or deletes the entry when that value is empty. A file that no longer exists
// is not created again: returns false and writes nothing.
bool RestoreIniEntry(const IniEditItem *item, bool useRollbackValue);

// RemoveIniFile - deletes the record's INI file, read-only or not.
void RemoveIniFile(const IniFileItem *item);
