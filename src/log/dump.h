// The item model as stable, line-oriented text: what kuninst-log prints and the tests compare.
#pragma once
#include <string>

// DumpItemModel - appends the reader's result, logDirectory, the reader results, the log header,
// the sub-system entry and every record of the twelve lists to out, one field per line.
void DumpItemModel(int result, const char *logDirectory, std::string &out);
