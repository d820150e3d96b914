// es's side of the channel: asks the running index, and says when it cannot answer, so that
// es walks instead.
#include "engine/index.h"
#include "engine/index_host.h"

namespace es::index {

namespace {

bool AskFor(const Question& q, Answering& kind, std::string& message, std::vector<Match>& m) {
    std::string answer;
    if (index_host::AskServer(EncodeQuestion(q), answer) != index_host::Ask::Answered) return false;
    std::string body = answer;
    return DecodeAnswer(body, kind, message, m);
}

} // namespace

Asked AskIndex(const std::vector<std::string>& args, const std::vector<std::string>& roots,
               std::vector<Match>& matches, std::string& message) {
    Question q{Asking::Query, args, roots};
    Answering kind;
    if (!AskFor(q, kind, message, matches) || kind != Answering::Matches) {
        matches.clear();
        return Asked::CannotAnswer;
    }
    return Asked::Answered;
}

bool IndexCaughtUp() {
    Question q{Asking::Status, {}, {}};
    Answering kind;
    std::string message;
    std::vector<Match> none;
    return AskFor(q, kind, message, none) && kind == Answering::Ready;
}

} // namespace es::index
