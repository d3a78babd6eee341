#include "cli/amftool.h"

#include "support/versioninfo.h"

#include <iostream>

namespace {
const char* kUsage = "Usage: amftool COMMAND [OPTIONS] [FILE...]\n"
                     "Lint, document and convert assistant definition files (.amf).\n"
                     "\n"
                     "Options:\n"
                     "  --help       show this help and exit\n"
                     "  --version    show the program version and exit\n";
}

int RunAmfTool(const std::vector<std::string>& args, std::istream& /*in*/, std::ostream& out, std::ostream& err) {
    if (args.empty()) {
        err << kUsage;
        return 2;
    }
    if (args[0] == "--help" || args[0] == "-h") {
        out << kUsage;
        return 0;
    }
    if (args[0] == "--version") {
        const TVersionRecord r = TVersionInformation::OfProgram("");
        out << "amftool " << r.Version << " (build " << r.Build << ")\n";
        return 0;
    }
    err << "amftool: unknown command \"" << args[0] << "\"\n" << kUsage;
    return 2;
}
