// The messages between es and the index: counts and lengths little-endian, texts as bytes.
#include "engine/index.h"

namespace es::index {

namespace {

constexpr char QuestionMark[4] = {'L', 'F', 'Q', '1'};
constexpr char AnswerMark[4] = {'L', 'F', 'A', '1'};

void PutNumber(std::string& out, uint64_t value, int bytes) {
    for (int i = 0; i < bytes; ++i)
        out += static_cast<char>((value >> (8 * i)) & 0xFF);
}

void PutText(std::string& out, std::string_view text) {
    PutNumber(out, text.size(), 4);
    out += text;
}

struct Reader {
    const std::string& data;
    size_t at = 0;
    bool ok = true;

    uint64_t Number(int bytes) {
        if (data.size() - at < static_cast<size_t>(bytes)) ok = false;
        if (!ok) return 0;
        uint64_t value = 0;
        for (int i = 0; i < bytes; ++i)
            value |= static_cast<uint64_t>(static_cast<unsigned char>(data[at + i])) << (8 * i);
        at += static_cast<size_t>(bytes);
        return value;
    }
    std::string Text() {
        uint64_t n = Number(4);
        if (data.size() - at < n) ok = false;
        if (!ok) return "";
        std::string out = data.substr(at, n);
        at += n;
        return out;
    }
    // A count can never exceed what is left, so a forged one cannot make us allocate much.
    bool Texts(std::vector<std::string>& out) {
        uint64_t n = Number(4);
        if (n > data.size() - at) ok = false;
        for (uint64_t i = 0; ok && i < n; ++i)
            out.push_back(Text());
        return ok;
    }
    bool Mark(const char (&mark)[4]) {
        ok = ok && data.size() >= 4 && data.compare(0, 4, mark, 4) == 0;
        at = 4;
        return ok;
    }
};

void PutTexts(std::string& out, const std::vector<std::string>& texts) {
    PutNumber(out, texts.size(), 4);
    for (const std::string& t : texts)
        PutText(out, t);
}

} // namespace

std::string EncodeQuestion(const Question& q) {
    std::string out(QuestionMark, 4);
    PutNumber(out, static_cast<uint8_t>(q.asking), 1);
    PutTexts(out, q.args);
    PutTexts(out, q.roots);
    PutNumber(out, q.timeZoneSet ? 1 : 0, 1);
    PutText(out, q.timeZone);
    return out;
}

bool DecodeQuestion(const std::string& body, Question& q) {
    Reader r{body};
    if (!r.Mark(QuestionMark)) return false;
    uint64_t asking = r.Number(1);
    if (asking != static_cast<uint8_t>(Asking::Query) &&
        asking != static_cast<uint8_t>(Asking::Status))
        return false;
    q.asking = static_cast<Asking>(asking);
    if (!r.Texts(q.args) || !r.Texts(q.roots)) return false;
    q.timeZoneSet = r.Number(1) != 0;
    q.timeZone = r.Text();
    return r.ok && r.at == body.size();
}

std::string AnswerHead(Answering a) {
    std::string head(AnswerMark, 4);
    PutNumber(head, static_cast<uint8_t>(a), 1);
    return head;
}

std::string EncodeAnswer(Answering a, std::string_view text) {
    return AnswerHead(a).append(text);
}

bool DecodeAnswer(const std::string& body, Answering& a, std::string_view& text) {
    Reader r{body};
    if (!r.Mark(AnswerMark)) return false;
    uint64_t kind = r.Number(1);
    if (!r.ok || kind > static_cast<uint8_t>(Answering::Ready)) return false;
    a = static_cast<Answering>(kind);
    text = std::string_view(body).substr(r.at);
    return true;
}

} // namespace es::index
