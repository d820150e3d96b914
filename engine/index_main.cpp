// lumafind-index: the resident index of the stand-in engine. Without arguments it serves;
// "--caught-up" asks the running index whether it answers from what it holds (exit 0) or not;
// "--check-saved" says whether the saved index can be loaded (0), is missing (3) or is not
// whole (4).
#include "engine/index.h"

namespace es {

namespace {

int CheckSaved() {
    std::string data;
    if (!ReadWholeFile(index::SavedIndexPath(), data)) return 3;
    index::Store s;
    return index::Deserialize(data, s) ? 0 : 4;
}

} // namespace

int Main(const std::vector<std::string>& args) {
    if (args.size() == 1 && args[0] == "--caught-up") return index::IndexCaughtUp() ? 0 : 1;
    if (args.size() == 1 && args[0] == "--check-saved") return CheckSaved();
    if (!args.empty()) {
        WriteError("usage: lumafind-index [--caught-up | --check-saved]");
        return 2;
    }
    return index::Serve();
}

} // namespace es
