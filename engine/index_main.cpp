// lumafind-index: the resident index of the stand-in engine. Without arguments it serves;
// "--caught-up" asks the running index whether it answers from what it holds (exit 0) or not.
#include "engine/index.h"

namespace es {

int Main(const std::vector<std::string>& args) {
    if (args.size() == 1 && args[0] == "--caught-up") return index::IndexCaughtUp() ? 0 : 1;
    if (!args.empty()) {
        WriteError("usage: lumafind-index [--caught-up]");
        return 2;
    }
    return index::Serve();
}

} // namespace es
