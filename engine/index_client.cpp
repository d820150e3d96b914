// es's side of the channel: asks the running index, and says when it cannot answer, so that
// es walks instead.
#include "engine/index.h"
#include "engine/index_host.h"

#include <algorithm>
#include <cstdlib>

namespace es::index {

namespace {

// The answer's head comes first, then its text, which goes on to `text` as it arrives.
bool AskFor(const Question& q, Answering& kind, const TextPiece& text) {
    const size_t headSize = AnswerHead(Answering::Matches).size();
    std::string head;
    auto received = [&](std::string_view part) {
        if (head.size() < headSize) {
            size_t take = std::min(part.size(), headSize - head.size());
            head.append(part.substr(0, take));
            part.remove_prefix(take);
            std::string_view none;
            if (head.size() == headSize && !DecodeAnswer(head, kind, none)) return false;
        }
        return part.empty() || kind != Answering::Matches || text(part);
    };
    return index_host::AskServer(EncodeQuestion(q), received) == index_host::Ask::Answered &&
           head.size() == headSize;
}

} // namespace

Asked AskIndex(const std::vector<std::string>& args, const std::vector<std::string>& roots,
               const TextPiece& text) {
    Question q{Asking::Query, args, roots, false, ""};
    if (const char* tz = std::getenv("TZ")) {
        q.timeZoneSet = true;
        q.timeZone = tz;
    }
    Answering kind;
    if (!AskFor(q, kind, text) || kind != Answering::Matches) return Asked::CannotAnswer;
    return Asked::Answered;
}

bool IndexCaughtUp() {
    Question q{Asking::Status, {}, {}, false, ""};
    Answering kind;
    return AskFor(q, kind, [](std::string_view) { return true; }) && kind == Answering::Ready;
}

} // namespace es::index
