#include "backends/win32/print_text.h"

#include <algorithm>
#include <cwchar>

namespace platform::win32 {

namespace {

// Faces that hold what a bold Latin face lacks (Hebrew, Arabic, combining
// marks, symbols, emoji), tried first where the printer has them; after them
// any other face of the printer.
constexpr const wchar_t* PreferredStandIns[] = {
    L"Segoe UI",          L"Segoe UI Symbol",      L"Segoe UI Emoji",
    L"Arial Unicode MS",  L"Microsoft Sans Serif", L"Tahoma",
    L"Segoe UI Historic",
};
// Enough to find a face for any script a name is likely to hold, without
// making every face of a system with hundreds for a character none has.
constexpr size_t MostStandIns = 40;

int CALLBACK NoteFace(const LOGFONTW* font, const TEXTMETRICW*, DWORD type, LPARAM faces) {
    // A printer's own fonts and bitmap fonts cannot be shaped; "@" faces are
    // the vertical forms of others.
    if ((type & TRUETYPE_FONTTYPE) && font->lfFaceName[0] != L'@') {
        auto& list = *reinterpret_cast<std::vector<std::wstring>*>(faces);
        if (std::find(list.begin(), list.end(), font->lfFaceName) == list.end())
            list.push_back(font->lfFaceName);
    }
    return 1;
}

std::vector<std::wstring> FacesOf(HDC dc, const wchar_t* face) {
    LOGFONTW query{};
    query.lfCharSet = DEFAULT_CHARSET;
    if (face) wcsncpy(query.lfFaceName, face, LF_FACESIZE - 1);
    std::vector<std::wstring> faces;
    EnumFontFamiliesExW(dc, &query, NoteFace, LPARAM(&faces), 0);
    return faces;
}

bool MakeNextStandIn(PrintFaces& f) {
    if (f.untried.empty() && !f.listed) {
        f.listed = true;
        f.untried = FacesOf(f.dc, nullptr);
        std::reverse(f.untried.begin(), f.untried.end()); // taken from the back
    }
    while (!f.untried.empty() && f.fonts.size() <= MostStandIns) {
        LOGFONTW lf = f.look;
        wcsncpy(lf.lfFaceName, f.untried.back().c_str(), LF_FACESIZE - 1);
        f.untried.pop_back();
        if (_wcsicmp(lf.lfFaceName, f.look.lfFaceName) == 0) continue;
        HFONT font = CreateFontIndirectW(&lf);
        if (!font) continue;
        f.fonts.push_back(font);
        f.caches.push_back(nullptr);
        return true;
    }
    return false;
}

struct Shaped {
    std::vector<WORD> glyphs, clusters;
    std::vector<SCRIPT_VISATTR> attributes;
};

// False when the font has nothing for the run's script.
bool Shape(PrintFaces& f, size_t font, std::wstring_view run, SCRIPT_ANALYSIS& analysis,
           Shaped& s) {
    SelectObject(f.dc, f.fonts[font]);
    int room = int(run.size()) * 3 / 2 + 16, count = 0;
    s.clusters.resize(run.size());
    for (;;) {
        s.glyphs.resize(room);
        s.attributes.resize(room);
        HRESULT result =
            ScriptShape(f.dc, &f.caches[font], run.data(), int(run.size()), room, &analysis,
                        s.glyphs.data(), s.clusters.data(), s.attributes.data(), &count);
        if (result == E_OUTOFMEMORY && room < 1 << 20) {
            room *= 2;
            continue;
        }
        if (FAILED(result)) return false;
        s.glyphs.resize(count);
        s.attributes.resize(count);
        return true;
    }
}

// For each character of the run, whether its cluster holds a glyph the font
// lacks; every one when the font cannot shape the run at all.
std::vector<bool> Missing(PrintFaces& f, size_t font, std::wstring_view run,
                          SCRIPT_ANALYSIS analysis) {
    Shaped s;
    if (!Shape(f, font, run, analysis, s)) return std::vector<bool>(run.size(), true);
    SCRIPT_FONTPROPERTIES properties{};
    properties.cBytes = sizeof properties;
    ScriptGetFontProperties(f.dc, &f.caches[font], &properties);
    std::vector<WORD> starts(s.clusters);
    std::sort(starts.begin(), starts.end());
    std::vector<bool> missing(run.size());
    for (size_t i = 0; i < run.size(); ++i) {
        // A cluster's glyphs follow its first one, or in a right-to-left run
        // come before its last one.
        size_t from = s.clusters[i], end = s.glyphs.size();
        if (analysis.fRTL) {
            auto before = std::lower_bound(starts.begin(), starts.end(), s.clusters[i]);
            end = from + 1;
            from = before == starts.begin() ? 0 : *(before - 1) + 1;
        } else if (auto next = std::upper_bound(starts.begin(), starts.end(), s.clusters[i]);
                   next != starts.end()) {
            end = *next;
        }
        for (size_t g = from; g < end && g < s.glyphs.size() && !missing[i]; ++g)
            missing[i] = s.glyphs[g] == 0 || s.glyphs[g] == properties.wgDefault;
    }
    return missing;
}

// The first stand-in that has every character of the run, else the one that
// lacks fewest; 0 (the print font) when none does better.
size_t StandInFor(PrintFaces& f, std::wstring_view run, SCRIPT_ANALYSIS analysis) {
    std::wstring key(run);
    key += wchar_t(analysis.eScript);
    if (auto known = f.chosen.find(key); known != f.chosen.end()) return known->second;
    size_t best = 0, fewest = run.size() + 1;
    for (size_t font = 1; fewest > 0; ++font) {
        if (font == f.fonts.size() && !MakeNextStandIn(f)) break;
        std::vector<bool> missing = Missing(f, font, run, analysis);
        size_t lacking = std::count(missing.begin(), missing.end(), true);
        if (lacking < fewest) best = font, fewest = lacking;
    }
    if (fewest == run.size()) best = 0;
    return f.chosen[key] = int(best);
}

struct Run {
    int start = 0, length = 0;
    SCRIPT_ANALYSIS analysis{};
    size_t font = 0;
};

// Items of one script and direction, each cut where the print font stops or
// starts having its characters.
std::vector<Run> RunsOf(PrintFaces& f, std::wstring_view line) {
    SCRIPT_CONTROL control{};
    SCRIPT_STATE state{}; // a left-to-right line, as the list shows names
    std::vector<SCRIPT_ITEM> items(line.size() + 2);
    int count = 0;
    while (ScriptItemize(line.data(), int(line.size()), int(items.size()) - 1, &control, &state,
                         items.data(), &count) == E_OUTOFMEMORY)
        items.resize(items.size() * 2);
    std::vector<Run> runs;
    for (int i = 0; i < count; ++i) {
        int start = items[i].iCharPos, end = items[i + 1].iCharPos;
        std::wstring_view item = line.substr(start, end - start);
        std::vector<bool> missing = Missing(f, 0, item, items[i].a);
        for (int at = 0; at < int(item.size());) {
            int to = at;
            while (to < int(item.size()) && missing[to] == missing[at])
                ++to;
            Run run{start + at, to - at, items[i].a, 0};
            if (missing[at]) run.font = StandInFor(f, item.substr(at, to - at), run.analysis);
            runs.push_back(run);
            at = to;
        }
    }
    return runs;
}

} // namespace

PrintFaces OpenPrintFaces(HDC dc, HFONT printFont, const LOGFONTW& look) {
    PrintFaces f;
    f.dc = dc;
    f.look = look;
    f.look.lfCharSet = DEFAULT_CHARSET;
    f.fonts = {printFont};
    f.caches = {nullptr};
    for (const wchar_t* face : PreferredStandIns)
        if (!FacesOf(dc, face).empty()) f.untried.insert(f.untried.begin(), face);
    return f;
}

void ClosePrintFaces(PrintFaces& f) {
    for (SCRIPT_CACHE& cache : f.caches)
        ScriptFreeCache(&cache);
    for (size_t i = 1; i < f.fonts.size(); ++i)
        DeleteObject(f.fonts[i]);
    f.fonts.resize(1);
    f.caches.resize(1);
}

// Every run on the print font's baseline, so a stand-in of other proportions
// still sits on the line.
void DrawPrintLine(PrintFaces& f, int x, int y, std::wstring_view line) {
    if (line.empty()) return;
    SelectObject(f.dc, f.fonts[0]);
    TEXTMETRICW metrics{};
    GetTextMetricsW(f.dc, &metrics);
    UINT alignment = SetTextAlign(f.dc, TA_LEFT | TA_BASELINE);
    std::vector<Run> runs = RunsOf(f, line);
    std::vector<BYTE> levels;
    for (const Run& run : runs)
        levels.push_back(BYTE(run.analysis.s.uBidiLevel));
    std::vector<int> visualToLogical(runs.size());
    ScriptLayout(int(runs.size()), levels.data(), visualToLogical.data(), nullptr);
    int pen = x;
    for (int index : visualToLogical) {
        Run& run = runs[index];
        std::wstring_view text = line.substr(run.start, run.length);
        Shaped s;
        if (!Shape(f, run.font, text, run.analysis, s)) {
            run.analysis.eScript = SCRIPT_UNDEFINED; // its glyphs, unshaped, over nothing
            if (!Shape(f, run.font, text, run.analysis, s)) continue;
        }
        std::vector<int> advances(s.glyphs.size());
        std::vector<GOFFSET> offsets(s.glyphs.size());
        ABC width{};
        if (FAILED(ScriptPlace(f.dc, &f.caches[run.font], s.glyphs.data(), int(s.glyphs.size()),
                               s.attributes.data(), &run.analysis, advances.data(), offsets.data(),
                               &width)))
            continue;
        ScriptTextOut(f.dc, &f.caches[run.font], pen, y + metrics.tmAscent, 0, nullptr,
                      &run.analysis, nullptr, 0, s.glyphs.data(), int(s.glyphs.size()),
                      advances.data(), nullptr, offsets.data());
        pen += width.abcA + int(width.abcB) + width.abcC;
    }
    SelectObject(f.dc, f.fonts[0]);
    SetTextAlign(f.dc, alignment);
}

} // namespace platform::win32
