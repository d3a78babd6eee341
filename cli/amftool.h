#pragma once
// amftool: lint, document and convert assistant files from the command line.
#include <iosfwd>
#include <string>
#include <vector>

// Runs amftool with the given arguments (without the program name). Returns the exit status.
int RunAmfTool(const std::vector<std::string>& args, std::istream& in, std::ostream& out, std::ostream& err);
