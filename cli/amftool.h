#pragma once
// amftool: lint, document and convert assistant files from the command line.
#include <iosfwd>
#include <string>
#include <vector>

// Runs amftool with the given arguments (without the program name): the command (new, resave, check,
// structure, notices, report) or --help / --version, then its options and files. Results go to `out`
// (or to the -o file), messages to `err`; a FILE of "-" reads `in`. Returns the exit status: 0 success,
// 1 when check found errors, 2 for usage errors and files that could not be read or written.
int RunAmfTool(const std::vector<std::string>& args, std::istream& in, std::ostream& out, std::ostream& err);
