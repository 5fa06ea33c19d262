// The cost of one Inscript keystroke in this system's engine core against
// m17n-lib's hi-inscript input method, natively, on the same keystrokes: real
// Hindi words (aspell's Hindi list, in ISCII through ICU's uconv) typed with
// the Inscript keys, each word followed by a space.
//
// Ours, per key: the layout lookup (KeyCodes), the word buffer, the whole
// word converted again by the real Devanagari adapter (ConvertSyllables),
// what changed (DiffWord), erasing and typing it into a line buffer; the
// space ends the word. m17n, per key: minput_filter, and minput_lookup for a
// key the input method passes on, its committed text appended to an MText.
//
// Usage: m17n_bench <INSKBD.BIN> [keys] [rounds]
// Prints one table; exits non-zero when the words cannot be prepared or when
// the typed screens disagree with the words converted in one go.
#include <m17n.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#include <time.h>

#include <algorithm>
#include <string>
#include <vector>

#include "driver/engine/compose_diff.h"
#include "driver/engine/limits.h"
#include "modules/devanagari/devanagari_adapter.h"
#include "tests/bench/inscript_keys.h"

namespace {

const int kDefaultKeys = 60000;
const int kDefaultRounds = 5;
const int kMaxWordKeys = NK_WORD_MAX_CODES; // the engine's word limit
const size_t kLineFlush = 4096;             // the line buffer starts again beyond this
const char kWordsCommand[] =
    "aspell -d hi dump master 2>/dev/null | uconv -f UTF-8 -t 'ISCII,version=0' 2>/dev/null";
const char kUtf8Command[] = "aspell -d hi dump master 2>/dev/null";

int __cdecl DevanagariEntry(const unsigned char* text, unsigned char* out, int32_t* consumed,
                            int32_t* length, int32_t mode) {
    return IndicAdapterEntry(DevanagariScript(kFontDV), text, out, consumed, length, mode);
}

// Where the time goes: the same engine with an adapter that only copies,
// one glyph per code, in syllables of one code.
int __cdecl CopyingEntry(const unsigned char* text, unsigned char* out, int32_t* consumed,
                         int32_t* length, int32_t mode) {
    out[0] = 0;
    if (mode != 0 || !text[0]) return 0;
    out[0] = text[0];
    out[1] = '0';
    out[2] = 0;
    *consumed = 1;
    *length = 2;
    return 1;
}

// One keystroke of the stream: a layout key, or the space that ends a word.
struct Stroke {
    InscriptKey key;
    bool space;
};

struct Stream {
    std::vector<Stroke> strokes;
    std::vector<std::string> utf8Words; // the words as aspell lists them
    std::vector<std::string> isciiWords;
    int wordsRead = 0;
};

std::vector<std::string> ReadLines(const char* command) {
    std::vector<std::string> lines;
    FILE* pipe = popen(command, "r");
    if (!pipe) return lines;
    static char line[4096];
    while (fgets(line, sizeof line, pipe)) {
        size_t n = strlen(line);
        while (n > 0 && (line[n - 1] == '\n' || line[n - 1] == '\r')) line[--n] = 0;
        lines.push_back(line);
    }
    pclose(pipe);
    return lines;
}

// Words in list order until the stream holds keyBudget keys.
bool PrepareStream(const LayoutTable& table, int keyBudget, Stream* stream) {
    const std::vector<std::string> iscii = ReadLines(kWordsCommand);
    const std::vector<std::string> utf8 = ReadLines(kUtf8Command);
    if (iscii.empty() || iscii.size() != utf8.size()) {
        fprintf(stderr, "m17n_bench: word lists differ (%zu ISCII, %zu UTF-8 lines)\n",
                iscii.size(), utf8.size());
        return false;
    }
    KeyFinder finder;
    BuildKeyFinder(table, &finder);
    InscriptKey keys[kMaxWordKeys];
    for (size_t w = 0; w < iscii.size() && (int)stream->strokes.size() < keyBudget; ++w) {
        ++stream->wordsRead;
        const int n = WordKeys(finder, (const unsigned char*)iscii[w].c_str(), keys, kMaxWordKeys);
        if (n <= 0) continue;
        for (int i = 0; i < n; ++i) stream->strokes.push_back({keys[i], false});
        stream->strokes.push_back({{0, false}, true});
        stream->utf8Words.push_back(utf8[w]);
        stream->isciiWords.push_back(iscii[w]);
    }
    return (int)stream->strokes.size() >= keyBudget;
}

// ---------------------------------------------------------------------------
// Our engine core, with the driver's buffer sizes.
struct OurWord {
    char word[NK_WORD_BUFFER_SIZE];
    char output[NK_SYLLABLE_OUT_SIZE];
    char newPairs[NK_NEW_PAIRS_SIZE];
    char shownPairs[NK_SHOWN_PAIRS_SIZE];
    char newGlyphs[NK_GLYPHS_SIZE];
    char shownGlyphs[NK_GLYPHS_SIZE];
    char scratch[NK_NAME_SCRATCH_SIZE];
    char line[kLineFlush + NK_GLYPHS_SIZE + 2]; // what the application shows
    size_t lineLength;
};

void ResetOurWord(OurWord* w) {
    w->word[0] = 0;
    w->shownGlyphs[0] = 0;
    w->shownPairs[0] = 0;
}

// Erase and type what changed into the line, as the driver posts it.
void ShowDifference(OurWord* w, const WordDiff& diff) {
    w->lineLength -= diff.eraseCount;
    const size_t newLength = strlen(w->newGlyphs);
    memcpy(w->line + w->lineLength, w->newGlyphs + diff.common, newLength - diff.common);
    w->lineLength += newLength - diff.common;
    memcpy(w->shownGlyphs, w->newGlyphs, newLength + 1);
    memcpy(w->shownPairs, w->newPairs, strlen(w->newPairs) + 1);
}

void OurKey(OurWord* w, const LayoutTable& table, const Stroke& stroke, AdapterEntryFn entry) {
    if (stroke.space) {
        ResetOurWord(w);
        if (w->lineLength >= kLineFlush) w->lineLength = 0;
        w->line[w->lineLength++] = ' ';
        return;
    }
    KeyCodesInput in = {};
    in.scanCode = stroke.key.scan;
    in.activeScript = SCRIPT_DEVANAGARI;
    in.shiftDown = stroke.key.shift;
    in.entry = &table.keys[stroke.key.scan];
    char text[KEY_CODES_SIZE];
    if (KeyCodes(in, text) != KEY_CODES_TEXT) return;
    const size_t wordLength = strlen(w->word);
    if (wordLength + strlen(text) > NK_WORD_MAX_CODES) {
        ResetOurWord(w);
        return;
    }
    memcpy(w->word + wordLength, text, strlen(text) + 1);
    const SyllableBuffers b = {w->output,    sizeof w->output,    w->newPairs, sizeof w->newPairs,
                               w->newGlyphs, sizeof w->newGlyphs, w->scratch,  sizeof w->scratch};
    const HyphenRule hyphen = {false, SCRIPT_DEVANAGARI};
    AdapterCursor cursor = {};
    int32_t syllables = 0;
    if (ConvertSyllables(entry, w->word, b, hyphen, &cursor, &syllables) ==
        CONVERT_OVERFLOW) {
        ResetOurWord(w);
        return;
    }
    const WordDiff diff =
        DiffWord(w->shownGlyphs, sizeof w->shownGlyphs, w->newGlyphs, sizeof w->newGlyphs,
                 w->shownPairs, sizeof w->shownPairs, w->newPairs, sizeof w->newPairs, false);
    ShowDifference(w, diff);
}

// The glyphs of an ISCII text converted in one go.
std::string GlyphsInOneGo(const char* iscii) {
    static OurWord w;
    const SyllableBuffers b = {w.output,    sizeof w.output,    w.newPairs, sizeof w.newPairs,
                               w.newGlyphs, sizeof w.newGlyphs, w.scratch,  sizeof w.scratch};
    AdapterCursor cursor = {};
    int32_t syllables = 0;
    ConvertSyllables(DevanagariEntry, iscii, b, {false, SCRIPT_DEVANAGARI}, &cursor, &syllables);
    return w.newGlyphs;
}

std::string WithoutAtr(const std::string& iscii) {
    std::string out;
    for (size_t i = 0; i < iscii.size(); ++i) {
        if ((unsigned char)iscii[i] == 0xEF) {
            ++i; // and the script byte after it
            continue;
        }
        out += iscii[i];
    }
    return out;
}

// Types the stream once, untimed, and checks every word's screen against the
// word converted in one go: the erase and type arithmetic must leave exactly
// the glyphs of the whole word. Returns the words that disagree.
int CheckOurScreens(const LayoutTable& table, const Stream& stream) {
    static OurWord w;
    ResetOurWord(&w);
    w.lineLength = 0;
    size_t word = 0, wordStart = 0;
    int bad = 0;
    for (const Stroke& s : stream.strokes) {
        if (s.space) {
            const std::string shown(w.line + wordStart, w.lineLength - wordStart);
            const std::string expected = GlyphsInOneGo(WithoutAtr(stream.isciiWords[word]).c_str());
            if (shown != expected && ++bad <= 3)
                fprintf(stderr, "word %zu: typed screen differs from the word in one go\n", word);
            ++word;
            w.lineLength = 0; // one word per check
        }
        OurKey(&w, table, s, DevanagariEntry);
        if (s.space) wordStart = w.lineLength;
    }
    return bad;
}

// Microseconds of this thread's CPU time: the machine is shared, and time
// spent waiting for a core is nobody's keystroke.
double CpuMicros() {
    timespec t;
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return (double)t.tv_sec * 1e6 + (double)t.tv_nsec / 1e3;
}

double OursRound(const LayoutTable& table, const Stream& stream, AdapterEntryFn entry) {
    static OurWord w;
    ResetOurWord(&w);
    w.lineLength = 0;
    const double start = CpuMicros();
    for (const Stroke& s : stream.strokes) OurKey(&w, table, s, entry);
    return CpuMicros() - start;
}

// ---------------------------------------------------------------------------
// m17n-lib's hi-inscript.
struct M17nPeer {
    MInputMethod* im;
    MInputContext* ic;
    MSymbol keyOf[LAYOUT_KEYS][2]; // the US character of each key, as m17n names keys
    MSymbol space;
};

bool OpenM17n(M17nPeer* peer) {
    M17N_INIT();
    peer->im = minput_open_im(msymbol("hi"), msymbol("inscript"), nullptr);
    if (!peer->im) return false;
    peer->ic = minput_create_ic(peer->im, nullptr);
    if (!peer->ic) return false;
    for (int scan = 0; scan < LAYOUT_KEYS; ++scan)
        for (int shift = 0; shift < 2; ++shift) {
            const char c[2] = {UsKeyChar(scan, shift != 0), 0};
            peer->keyOf[scan][shift] = c[0] ? msymbol(c) : Mnil;
        }
    peer->space = msymbol(" ");
    return true;
}

// One key: the input method filters it; a key it passes on is looked up,
// which appends the text it commits.
void M17nKey(M17nPeer* peer, MSymbol key, MText* committed) {
    if (!minput_filter(peer->ic, key, nullptr)) minput_lookup(peer->ic, key, nullptr, committed);
}

MSymbol StrokeSymbol(const M17nPeer& peer, const Stroke& s) {
    return s.space ? peer.space : peer.keyOf[s.key.scan][s.key.shift ? 1 : 0];
}

double M17nRound(M17nPeer* peer, const Stream& stream) {
    minput_reset_ic(peer->ic);
    MText* committed = mtext();
    int sinceFlush = 0;
    const double start = CpuMicros();
    for (const Stroke& s : stream.strokes) {
        M17nKey(peer, StrokeSymbol(*peer, s), committed);
        if (s.space && ++sinceFlush == 1000) { // keep the text short, as our line is
            mtext_del(committed, 0, mtext_len(committed));
            sinceFlush = 0;
        }
    }
    const double spent = CpuMicros() - start;
    m17n_object_unref(committed);
    return spent;
}

// Untimed: how many words m17n typed back exactly as aspell lists them (the
// stream is real Hindi typing when its Inscript agrees with ours).
int M17nWordsAgreeing(M17nPeer* peer, const Stream& stream) {
    minput_reset_ic(peer->ic);
    MText* committed = mtext();
    static char utf8[8192];
    size_t word = 0;
    int agree = 0;
    for (const Stroke& s : stream.strokes) {
        M17nKey(peer, StrokeSymbol(*peer, s), committed);
        if (!s.space) continue;
        const int n = mconv_encode_buffer(Mcoding_utf_8, committed, (unsigned char*)utf8,
                                          sizeof utf8 - 1);
        utf8[n > 0 ? n : 0] = 0;
        if (stream.utf8Words[word] == utf8) ++agree;
        mtext_del(committed, 0, mtext_len(committed));
        ++word;
    }
    m17n_object_unref(committed);
    return agree;
}

double Median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

void PrintRow(const char* name, const std::vector<double>& rounds, double keys) {
    printf("%-40s %18.3f %8.3f\n", name, Median(rounds) / keys,
           *std::min_element(rounds.begin(), rounds.end()) / keys);
}

void PrintTable(const Stream& stream, const std::vector<double>& ours,
                const std::vector<double>& m17n, const std::vector<double>& copying,
                int agreeing) {
    const double keys = (double)stream.strokes.size();
    const double oursMedian = Median(ours) / keys, m17nMedian = Median(m17n) / keys;
    const double oursBest = *std::min_element(ours.begin(), ours.end()) / keys;
    const double m17nBest = *std::min_element(m17n.begin(), m17n.end()) / keys;
    double load = 0;
    if (FILE* f = fopen("/proc/loadavg", "r")) {
        if (fscanf(f, "%lf", &load) != 1) load = 0;
        fclose(f);
    }
    printf("Inscript keystrokes, real Hindi words: %zu keys (%zu words of %d read), %zu rounds, "
           "load %.2f\n",
           stream.strokes.size(), stream.isciiWords.size(), stream.wordsRead, ours.size(), load);
    printf("%-40s %18s %8s\n", "engine", "CPU us/key median", "best");
    PrintRow("ours (lookup, word, DV adapter, diff)", ours, keys);
    PrintRow("m17n-lib hi-inscript (filter, lookup)", m17n, keys);
    printf("%-40s %18.2f %8.2f\n", "ratio m17n / ours", m17nMedian / oursMedian,
           m17nBest / oursBest);
    PrintRow("ours, adapter replaced by a plain copy", copying, keys);
    printf("m17n typed back %d of %zu words exactly as listed\n", agreeing,
           stream.isciiWords.size());
}

} // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        fprintf(stderr, "usage: m17n_bench <INSKBD.BIN> [keys] [rounds]\n");
        return 2;
    }
    const int keyBudget = argc > 2 ? atoi(argv[2]) : kDefaultKeys;
    const int rounds = argc > 3 ? std::max(1, atoi(argv[3])) : kDefaultRounds;
    static LayoutTable table;
    if (!LoadLayoutFile(argv[1], SCRIPT_DEVANAGARI, &table)) {
        fprintf(stderr, "m17n_bench: cannot read the layout file %s\n", argv[1]);
        return 2;
    }
    Stream stream;
    if (!PrepareStream(table, keyBudget, &stream)) {
        fprintf(stderr, "m17n_bench: fewer than %d keys of Hindi words (aspell-hi, uconv)\n",
                keyBudget);
        return 2;
    }
    M17nPeer peer;
    if (!OpenM17n(&peer)) {
        fprintf(stderr, "m17n_bench: m17n cannot open hi-inscript (m17n-db)\n");
        return 2;
    }
    const int badScreens = CheckOurScreens(table, stream);
    const int agreeing = M17nWordsAgreeing(&peer, stream);
    std::vector<double> ours, m17n, copying;
    for (int r = 0; r < rounds; ++r) { // alternate, so that load falls on all alike
        ours.push_back(OursRound(table, stream, DevanagariEntry));
        m17n.push_back(M17nRound(&peer, stream));
        copying.push_back(OursRound(table, stream, CopyingEntry));
    }
    PrintTable(stream, ours, m17n, copying, agreeing);
    if (badScreens) printf("FAIL: %d words typed differently from the word in one go\n", badScreens);
    minput_destroy_ic(peer.ic);
    minput_close_im(peer.im);
    M17N_FINI();
    return badScreens ? 1 : 0;
}
