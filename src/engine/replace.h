// Finishing work on files that are in use: replacement at the next restart, deletion at restart.
#pragma once
#include <cstddef>
#include <cstdint>

// MakeReplacementName - puts into buffer (size bytes) a path in target's directory named
// "~QXU%04x.TMP" after the run's replacement counter that names nothing existing. The counter
// advances past every name tried and wraps. Returns false when the path would not fit or every one
// of the 65536 names exists; the buffer then holds no usable name.
bool MakeReplacementName(char *buffer, size_t size, const char *target);

// MakeReplacementNameWith - the same search with the existence test given.
bool MakeReplacementNameWith(char *buffer, size_t size, const char *target, bool (*exists)(const char *));

// ReplacementCounter / SetReplacementCounter - the run's counter of replacement names.
uint16_t ReplacementCounter();
void SetReplacementCounter(uint16_t value);

// CopyBack - puts the backup copy source back over target and deletes the backup; when target is
// in use, stages the copy beside it and schedules the replacement for the next restart.
void CopyBack(const char *source, const char *target);

// DeleteAtRestart - asks the system to delete path during the next restart.
void DeleteAtRestart(const char *path);
