// es's side of the channel: asks the running index, and says when it cannot answer, so that
// es walks instead.
#include "engine/index.h"
#include "engine/index_host.h"

#include <cstdlib>

namespace es::index {

namespace {

bool AskFor(const Question& q, Answering& kind, std::string& answer, std::string_view& text) {
    if (index_host::AskServer(EncodeQuestion(q), answer) != index_host::Ask::Answered) return false;
    return DecodeAnswer(answer, kind, text);
}

} // namespace

Asked AskIndex(const std::vector<std::string>& args, const std::vector<std::string>& roots,
               std::string& answer, std::string_view& text) {
    Question q{Asking::Query, args, roots, false, ""};
    if (const char* tz = std::getenv("TZ")) {
        q.timeZoneSet = true;
        q.timeZone = tz;
    }
    Answering kind;
    if (!AskFor(q, kind, answer, text) || kind != Answering::Matches) return Asked::CannotAnswer;
    return Asked::Answered;
}

bool IndexCaughtUp() {
    Question q{Asking::Status, {}, {}, false, ""};
    Answering kind;
    std::string answer;
    std::string_view text;
    return AskFor(q, kind, answer, text) && kind == Answering::Ready;
}

} // namespace es::index
