#include "modules/common/indic_syllable.h"

#include <string.h>

#include "include/nelkor.h"
#include "modules/common/iscii.h"

using namespace iscii;

namespace {

// How much of the text an adapter with readAs copies before reading it.
enum { kReadAsCopyMax = 255 };

// Marks a soft halant inside a cluster text: the half form before it stays a
// half form and no conjunct spans it. No ISCII byte has this value.
const unsigned char kSoft = 0x01;

// A cluster of kMaxClusterUnits units takes at most 5 bytes each (a
// substituted consonant, nukta, halant, soft mark) plus a sign and its nukta.
enum { kTextMax = 48 };

struct Text {
    unsigned char b[kTextMax];
    int n;
};

void Add(Text& text, unsigned char b) {
    if (text.n < kTextMax) text.b[text.n++] = b;
}

// Codes a font may lack, and the text drawn instead: the nukta letters as
// letter + nukta, the short and candra vowels as their nearest long vowel.
struct Substitute {
    unsigned char code;
    unsigned char text[3];
};
const Substitute kSubstitutes[] = {
    {0xC7, {0xC6, 0xE9}}, {0xCE, {0xCD, 0xE9}}, {0xD0, {0xCF, 0xE9}}, {0xD3, {0xD2, 0xE9}},
    {0xAB, {0xAC}},       {0xAF, {0xB0}},       {0xAE, {0xAC}},       {0xB2, {0xB0}},
    {0xE0, {0xE1}},       {0xE4, {0xE5}},       {0xE3, {0xE1}},       {0xE7, {0xE5}},
};

// Adds a code, or its substitute when the font has no glyph of its own for it.
void AddCode(const GlyphInventory& inventory, Text& text, unsigned char code) {
    const unsigned char onBody[2] = {kTokenHeadless, code}; // the sign's glyph on a body
    if (!FindKey(inventory, &code, 1) && !FindKey(inventory, onBody, 2)) {
        for (const Substitute& s : kSubstitutes) {
            if (s.code != code) continue;
            for (unsigned char b : s.text)
                if (b) Add(text, b);
            return;
        }
    }
    Add(text, code);
}

// Whether the NUL-terminated list holds b.
bool Lists(const unsigned char* list, unsigned char b) {
    return list && b && strchr((const char*)list, b) != nullptr;
}

bool IsHalfKey(const GlyphEntry& entry) {
    return entry.keyLength >= 2 && entry.key[entry.keyLength - 1] == kHalant;
}

// Whether the font draws consonant b after a halant as a subjoined or
// post-base form of its own (the key halant + b: rakar, ya-phala, the
// Gurmukhi subjoined ha).
bool HasSubjoinedForm(const GlyphInventory& inventory, unsigned char b) {
    const unsigned char key[2] = {kHalant, b};
    return FindKey(inventory, key, 2) != nullptr;
}

// Where the cluster's keys are being fitted, and what the script allows there.
struct ClusterFit {
    const GlyphInventory* inventory;
    int clusterLength;     // where the vowel sign begins in the cluster text
    bool deadFormsVisible; // a half key may end the cluster (visible virama)
};

// Inside a cluster a key must end where a unit ends; a half-form key only
// where another unit follows (or, for visible dead forms, where the cluster
// ends), and not before a consonant the font subjoins (which joins the
// consonant before it as its subjoined form instead: rakar, ya-phala),
// unless that consonant carries a nukta. No key but the chillu's own ends on
// the consonant of a chillu (halant + nukta in the cluster text).
bool FitsCluster(const unsigned char* text, int length, int end, const GlyphEntry& entry,
                 const void* context) {
    const ClusterFit& fit = *(const ClusterFit*)context;
    int clusterLength = fit.clusterLength;
    if (entry.keyLength == 1 && (entry.key[0] == kHalant || entry.key[0] == kNukta)) return true;
    if (IsHalfKey(entry)) {
        if (end >= clusterLength) return fit.deadFormsVisible && end == clusterLength;
        if (HasSubjoinedForm(*fit.inventory, text[end]))
            return end + 1 < length && text[end + 1] == kNukta;
        return IsClusterUnit(text[end]) || text[end] == kSoft;
    }
    if (end == length || end == clusterLength) return true;
    if (end > clusterLength) return false;
    unsigned char next = text[end];
    if (next == kHalant && end + 1 < clusterLength && text[end + 1] == kNukta) return false;
    return next == kHalant || next == kNukta || next == kSoft;
}

const SplitSign* FindSplit(const IndicScript& script, unsigned char sign) {
    if (!script.splitSigns) return nullptr;
    for (const SplitSign* split = script.splitSigns; split->sign; ++split)
        if (split->sign == sign) return split;
    return nullptr;
}

// A sign's text: its code (or substitute), or both parts of a split sign
// (also when the sign's substitute is split: short O drawn as O).
void AddSign(const IndicScript& script, Text& text, unsigned char sign) {
    Text code;
    code.n = 0;
    // The sign's own split first: its substitute (the long o for the short
    // one) is another sign.
    const SplitSign* split = FindSplit(script, sign);
    if (!split) AddCode(script.inventory, code, sign);
    if (!split && code.n == 1) split = FindSplit(script, code.b[0]);
    if (!split) {
        for (int k = 0; k < code.n; ++k)
            Add(text, code.b[k]);
        return;
    }
    Add(text, split->before);
    Add(text, split->after);
    if (split->later) Add(text, split->later);
}

// Where a dead consonant ends the word: nothing more of the script follows.
bool EndsWord(unsigned char next) {
    return next < 0x80 || next == kDanda;
}

// The mark's glyph as the font places it on the base glyph (key
// kTokenPlaced + the base's key + the mark's key); null where the font
// draws the mark at its one place.
const GlyphEntry* FindPlaced(const GlyphInventory& inventory, const GlyphEntry* base,
                             const GlyphEntry* mark) {
    if (!base || !mark || 1 + base->keyLength + mark->keyLength > kGlyphKeyMax) return nullptr;
    unsigned char key[kGlyphKeyMax];
    key[0] = kTokenPlaced;
    memcpy(key + 1, base->key, base->keyLength);
    memcpy(key + 1 + base->keyLength, mark->key, mark->keyLength);
    return FindKey(inventory, key, 1 + base->keyLength + mark->keyLength);
}

// Which glyph the marks of a run sit on, and whether the run's own glyphs
// are marks that leave it so (the reph and the marks drawn on the consonant).
struct MarkBase {
    const GlyphEntry* glyph;
    bool keep;
};

// Writes text[0..length) as the longest keys of the inventory, left to right;
// a byte that starts no key is skipped. With a base, a glyph the font places
// on the base is drawn so, and the base stays; any other glyph becomes the
// base of the marks after it, unless the base is kept.
void PutRun(const GlyphInventory& inventory, const unsigned char* text, int length,
            PairWriter& writer, MarkBase* base = nullptr) {
    for (int p = 0; p < length;) {
        const GlyphEntry* entry = LongestKeyAt(inventory, text, length, p, nullptr, nullptr);
        // A sign the font has only as it sits on most headless consonants
        // (Telugu) is drawn with that glyph.
        const unsigned char onBody[2] = {kTokenHeadless, text[p]};
        p += entry ? entry->keyLength : 1;
        if (!entry) entry = FindKey(inventory, onBody, 2);
        const GlyphEntry* placed = base ? FindPlaced(inventory, base->glyph, entry) : nullptr;
        PutEntry(writer, placed ? placed : entry);
        if (base && !placed && !base->keep && entry) base->glyph = entry;
    }
}

// Reads at most two modifiers from text[i]; candrabindu + nukta is OM, which
// starts a syllable of its own. Returns the new position.
int AddModifiers(const unsigned char* text, int i, Text& tokens) {
    for (int count = 0; count < 2 && IsModifier(text[i]); ++count) {
        if (text[i] == kCandrabindu && text[i + 1] == kNukta) break;
        Add(tokens, text[i++]);
    }
    return i;
}

// The anusvara after the given vowel or sign (kNoSign: the bare consonant)
// over the given consonant (0: none) in the form the script spells there.
void ChooseAnusvara(const IndicScript& script, unsigned char vowel, unsigned char consonant,
                    Text& tokens) {
    if (!script.altAnusvaraAfter || !strchr((const char*)script.altAnusvaraAfter, vowel)) return;
    if (script.altAnusvaraOn &&
        (!consonant || !strchr((const char*)script.altAnusvaraOn, consonant)))
        return;
    const unsigned char alt = kTokenAltAnusvara;
    if (!FindKey(script.inventory, &alt, 1)) return;
    for (int k = 0; k < tokens.n; ++k)
        if (tokens.b[k] == kAnusvara) tokens.b[k] = alt;
}

// The last consonant of a cluster text (0 when it has none).
unsigned char LastConsonant(const Text& cluster) {
    for (int k = cluster.n - 1; k >= 0; --k)
        if (IsConsonant(cluster.b[k])) return cluster.b[k];
    return 0;
}

// Whether consonant + halant + nukta is a letter of its own (khanda ta,
// chillu).
bool HasSoftForm(const GlyphInventory& inventory, unsigned char consonant) {
    const unsigned char key[3] = {consonant, kHalant, kNukta};
    return FindKey(inventory, key, 3) != nullptr;
}

// Reads the units of a cluster from text into cluster (consonants with
// their nukta, halants, soft-halant marks, a chillu's halant + nukta).
// Returns the position after the cluster; open is false when a visible
// virama or a chillu ends it, so that no vowel sign can follow.
int ReadClusterUnits(const IndicScript& script, const unsigned char* text, Text& cluster,
                     bool& open) {
    const GlyphInventory& inventory = script.inventory;
    int i = 0, units = 0;
    open = true;
    for (;;) {
        AddCode(inventory, cluster, text[i++]);
        ++units;
        bool plain = text[i] != kNukta; // a chillu is a plain consonant's
        if (!plain) {
            Add(cluster, kNukta);
            ++i;
        }
        if (text[i] != kHalant) break;
        unsigned char next = text[i + 1];
        bool room = units < kMaxClusterUnits;
        bool reph = script.rephAsChillu && units == 1 && cluster.b[0] == kConsonantRa &&
                    IsClusterUnit(next);
        bool letterEnd = next == kNukta || (script.chilluAtWordEnd && EndsWord(next)) || reph;
        if (plain && letterEnd && HasSoftForm(inventory, cluster.b[cluster.n - 1])) {
            Add(cluster, kHalant);
            Add(cluster, kNukta);
            i += next == kNukta ? 2 : 1;
            open = false;
            break;
        }
        if (next == kNukta && IsClusterUnit(text[i + 2]) && room) {
            Add(cluster, kHalant);
            Add(cluster, kSoft);
            i += 2;
            continue;
        }
        if (IsClusterUnit(next) && room) {
            Add(cluster, kHalant);
            ++i;
            continue;
        }
        // Halant + halant, halant + nukta, or a halant that ends the word or
        // the unit limit: the virama stays visible.
        Add(cluster, kHalant);
        i += (next == kHalant || next == kNukta) ? 2 : 1;
        open = false;
        break;
    }
    return i;
}

// Whether entry is a consonant's form after a halant that the script draws
// before the consonant or conjunct it follows.
bool IsPreBaseForm(const IndicScript& script, const GlyphEntry* entry) {
    return entry && script.preBaseForms && entry->keyLength == 2 && entry->key[0] == kHalant &&
           strchr((const char*)script.preBaseForms, entry->key[1]) != nullptr;
}

// Exchanges the last two pairs written: the last glyph goes before the one
// it follows.
void SwapLastPairs(PairWriter& writer) {
    unsigned char* last = writer.out + writer.used - 2;
    unsigned char* before = last - 2;
    for (int k = 0; k < 2; ++k) {
        unsigned char b = last[k];
        last[k] = before[k];
        before[k] = b;
    }
}

// A consonant at p that keeps a visible virama, where the font has neither a
// glyph of both nor a below-base form of the next consonant, drawn as its
// headless body and the virama on it (Telugu). Returns whether it wrote them.
bool PutDeadOnBody(const IndicScript& script, const Text& cluster, int p, const GlyphEntry* entry,
                   const ClusterFit& fit, PairWriter& writer) {
    const GlyphInventory& inventory = script.inventory;
    if (!script.signAfterFirst || !entry || entry->keyLength != 1 || !IsConsonant(entry->key[0]) ||
        p + 1 >= fit.clusterLength || cluster.b[p + 1] != kHalant)
        return false;
    const GlyphEntry* next =
        LongestKeyAt(inventory, cluster.b, cluster.n, p + 1, FitsCluster, &fit);
    if (next && next->keyLength > 1) return false; // a below-base form follows
    const unsigned char c = entry->key[0];
    const unsigned char bodyKey[2] = {c, kTokenHeadless};
    const unsigned char ownKey[3] = {kTokenHeadless, c, kHalant};
    const unsigned char commonKey[2] = {kTokenHeadless, kHalant};
    const GlyphEntry* body = FindKey(inventory, bodyKey, 2);
    const GlyphEntry* mark = FindKey(inventory, ownKey, 3);
    if (!mark && Lists(script.headSigns, kHalant)) mark = FindKey(inventory, commonKey, 2);
    if (!body || !mark) return false;
    PutEntry(writer, body);
    PutEntry(writer, mark);
    return true;
}

// The font's form of a lone consonant before the subjoined form that starts
// at next (key consonant + kTokenBaseForm: Oriya's consonants without the
// lower bowl that the form below takes the place of); null where the font
// has none or keeps the consonant whole before that form.
const GlyphEntry* BaseFormBefore(const IndicScript& script, const Text& cluster, int next,
                                 const ClusterFit& fit, const GlyphEntry* entry) {
    if (!entry || entry->keyLength != 1 || !IsConsonant(entry->key[0])) return nullptr;
    if (next + 1 >= fit.clusterLength || cluster.b[next] != kHalant) return nullptr;
    const unsigned char key[2] = {entry->key[0], kTokenBaseForm};
    const GlyphEntry* base = FindKey(script.inventory, key, 2);
    if (!base) return nullptr;
    const GlyphEntry* form =
        LongestKeyAt(script.inventory, cluster.b, cluster.n, next, FitsCluster, &fit);
    if (!form || form->keyLength != 2 || form->key[0] != kHalant ||
        Lists(script.fullBeforeForms, form->key[1]))
        return nullptr;
    return base;
}

// Writes the cluster text as glyphs; cut becomes the output length after the
// last visible virama followed by more of the cluster, where a pre-base sign
// goes. Returns how far into the cluster text (past clusterLength when a
// sign joined the last consonant) the glyphs reached.
int PutCluster(const IndicScript& script, const Text& cluster, int clusterLength,
               PairWriter& writer, int& cut, const GlyphEntry*& last) {
    const GlyphInventory& inventory = script.inventory;
    bool deadFormsVisible = script.deadFormsVisible;
    ClusterFit fit = {&inventory, clusterLength, deadFormsVisible};
    cut = 0;
    int p = 0;
    const GlyphEntry* previous = nullptr; // the glyph before, in this cluster
    while (p < cluster.n && p < clusterLength) {
        if (cluster.b[p] == kSoft) {
            ++p;
            continue;
        }
        const GlyphEntry* entry =
            LongestKeyAt(inventory, cluster.b, cluster.n, p, FitsCluster, &fit);
        if (PutDeadOnBody(script, cluster, p, entry, fit, writer)) {
            cut = p + 2 < clusterLength ? writer.used : cut;
            p += 2;
            continue;
        }
        int used = entry ? entry->keyLength : 1;
        if (!entry) {
            // A sign the font has only as it sits on most headless
            // consonants (Telugu's virama), for one byte.
            const unsigned char onBody[2] = {kTokenHeadless, cluster.b[p]};
            entry = FindKey(inventory, onBody, 2);
        }
        int before = writer.used;
        // A subjoined form or virama where the font places it on the glyph
        // before (Oriya's ya-phala further right after SA than after NA).
        const GlyphEntry* placed = FindPlaced(inventory, previous, entry);
        // The forms after a base form are those placed on the whole consonant
        // (the font gives it an advance near the consonant's).
        const GlyphEntry* base = BaseFormBefore(script, cluster, p + used, fit, entry);
        PutEntry(writer, placed ? placed : base ? base : entry);
        if (IsPreBaseForm(script, entry) && writer.used > before && before - 2 >= cut)
            SwapLastPairs(writer);
        if (entry) last = previous = entry;
        // A dead consonant drawn with its virama (Tamil, Malayalam) stands
        // apart as a lone virama does.
        bool virama = (used == 1 && cluster.b[p] == kHalant && entry) ||
                      (entry && deadFormsVisible && IsHalfKey(*entry));
        p += used;
        if (virama && p < clusterLength) cut = writer.used;
    }
    return p;
}

// Copies pairs[from..to) of a finished pair string into writer.
void CopyPairs(PairWriter& writer, const unsigned char* pairs, int from, int to) {
    for (int k = from; k + 1 < to; k += 2)
        PutGlyph(writer, pairs[k], pairs[k + 1]);
}

// The glyph of a pre-base sign (with what the font joins to it). A font may
// have a form of the sign for a cluster it stands before (the Bengali i sign
// is longer before a wide conjunct): a key of the sign and the whole
// cluster's text, used when the sign stands before the whole cluster.
const GlyphEntry* PreBaseEntry(const GlyphInventory& inventory, const unsigned char* preText,
                               int preLength, const Text& cluster, int clusterLength, int cut) {
    if (preLength == 1 && cut == 0 && clusterLength < kGlyphKeyMax) {
        unsigned char key[kGlyphKeyMax];
        int n = 0;
        key[n++] = preText[0];
        for (int k = 0; k < clusterLength; ++k)
            if (cluster.b[k] != kSoft) key[n++] = cluster.b[k];
        const GlyphEntry* entry = FindKey(inventory, key, n);
        if (entry) return entry;
    }
    return LongestKeyAt(inventory, preText, preLength, 0, nullptr, nullptr);
}

// The glyph of a whole syllable, cluster and pre-base sign, where the font
// has one (key: the cluster's text, then the sign).
const GlyphEntry* WholeSyllable(const GlyphInventory& inventory, const unsigned char* preText,
                                int preLength, const Text& cluster, int clusterLength) {
    if (preLength != 1 || clusterLength >= kGlyphKeyMax) return nullptr;
    unsigned char key[kGlyphKeyMax];
    int n = 0;
    for (int k = 0; k < clusterLength; ++k)
        if (cluster.b[k] != kSoft) key[n++] = cluster.b[k];
    key[n++] = preText[0];
    return FindKey(inventory, key, n);
}

// A cluster's glyphs as drawn, before they are written out.
struct ClusterGlyphs {
    const unsigned char* pairs;
    int cut;                // where the pre-base sign went (already written up to here)
    int used;               // bytes of pairs
    const GlyphEntry* last; // the cluster's last glyph
};

// Whether the font has one glyph for the sign and the reph.
bool SignWithReph(const GlyphInventory& inventory, unsigned char sign) {
    const unsigned char key[2] = {sign, kTokenReph};
    return FindKey(inventory, key, 2) != nullptr;
}

// Writes the rest of the cluster and the tokens after it (signs in
// tokens[tailStart..signEnd), then the reph and modifiers). A below-base
// sign goes under the consonant, before a post-base form that ends the
// cluster (Bengali ya-phala); where the script draws the reph on the
// consonant it comes before the signs (Bengali reph before sign AA).
void PutTail(const IndicScript& script, const ClusterGlyphs& glyphs, const Text& tokens,
             int tailStart, int signEnd, PairWriter& writer) {
    const GlyphInventory& inventory = script.inventory;
    int postStart = glyphs.used;
    const GlyphEntry* last = glyphs.last;
    bool postBase = last && last->keyLength == 2 && last->key[0] == kHalant &&
                    Lists(script.postBaseConsonants, last->key[1]);
    bool below = signEnd > tailStart && Lists(script.belowBaseSigns, tokens.b[tailStart]);
    if (postBase && below && glyphs.used - 2 >= glyphs.cut) postStart = glyphs.used - 2;
    // The reph (unless the font joins it to the sign: Oriya i + reph) and the
    // script's consonant marks go on the consonant, before the signs.
    bool withSign = signEnd - tailStart == 1 && SignWithReph(inventory, tokens.b[tailStart]);
    Text onConsonant, rest;
    onConsonant.n = rest.n = 0;
    for (int k = tailStart; k < tokens.n; ++k) {
        unsigned char t = tokens.b[k];
        bool move = k >= signEnd && ((t == kTokenReph && script.rephBeforeSigns && !withSign) ||
                                     Lists(script.consonantMarks, t));
        Add(move ? onConsonant : rest, t);
    }
    // A consonant mark the font joins to the last glyph (Bengali KA with its
    // candrabindu where Noto puts it) replaces that glyph; so does a modifier
    // right after it (Gurmukhi MA + sign AI, which Noto draws apart, with its
    // bindi).
    Text* marks = &onConsonant;
    if (onConsonant.n == 0 && rest.n > 0 && IsModifier(rest.b[0])) marks = &rest;
    const GlyphEntry* joined = nullptr;
    if (marks->n > 0 && last && postStart == glyphs.used && glyphs.used - 2 >= glyphs.cut &&
        last->keyLength < kGlyphKeyMax) {
        unsigned char key[kGlyphKeyMax];
        memcpy(key, last->key, last->keyLength);
        key[last->keyLength] = marks->b[0];
        joined = FindKey(inventory, key, last->keyLength + 1);
    }
    if (joined) {
        CopyPairs(writer, glyphs.pairs, glyphs.cut, postStart - 2);
        PutEntry(writer, joined);
        memmove(marks->b, marks->b + 1, (size_t)(marks->n - 1));
        --marks->n;
    } else {
        CopyPairs(writer, glyphs.pairs, glyphs.cut, postStart);
    }
    int restStart = 0;
    if (postStart < glyphs.used) {
        restStart = signEnd - tailStart; // the below-base signs go first
        PutRun(inventory, rest.b, restStart, writer);
    }
    // The marks after the cluster sit on its last glyph; the reph and the
    // consonant marks leave that base to the signs after them.
    MarkBase onLast = {joined ? joined : last, true};
    PutRun(inventory, onConsonant.b, onConsonant.n, writer, &onLast);
    CopyPairs(writer, glyphs.pairs, postStart, glyphs.used);
    onLast.keep = false;
    PutRun(inventory, rest.b + restStart, rest.n - restStart, writer, &onLast);
}

// A key of text[0..length) and up to two more bytes (a sign, a token) before
// or after it; false when it does not fit a key.
bool MakeKey(unsigned char* key, int& n, unsigned char before, const unsigned char* text,
             int length, unsigned char after1, unsigned char after2) {
    n = 0;
    if (length + 3 > kGlyphKeyMax + 1) return false;
    if (before) key[n++] = before;
    for (int k = 0; k < length; ++k)
        key[n++] = text[k];
    if (after1) key[n++] = after1;
    if (after2) key[n++] = after2;
    return n <= kGlyphKeyMax;
}

// Where the part of a cluster that a sign after its first consonant joins
// begins: after the last halant whose consonant the font has no below-base
// form for (nor a conjunct with the consonant before), which therefore
// keeps a visible virama; 0 when every later consonant goes below.
int BreakBeforeFull(const GlyphInventory& inventory, const Text& cluster, int clusterLength) {
    int start = 0, unit = 0;
    for (int k = 1; k + 1 < clusterLength; ++k) {
        if (cluster.b[k] != kHalant || !IsClusterUnit(cluster.b[k + 1])) continue;
        bool below = HasSubjoinedForm(inventory, cluster.b[k + 1]) ||
                     FindKey(inventory, cluster.b + unit, k + 2 - unit) != nullptr;
        if (!below) start = k + 1;
        unit = k + 1;
    }
    return start;
}

// How a sign after the first consonant joins it: the first unit (the
// longest start of the cluster, ending where a unit ends, that the font joins
// to the sign or has a headless body for, or that is a conjunct of the font)
// and the glyphs that draw it with the sign.
struct FirstUnit {
    int end;                  // where the unit ends in the cluster text
    const GlyphEntry* whole;  // the unit and the sign as one glyph
    const GlyphEntry* body;   // else the unit's headless body
    const GlyphEntry* onBody; //   and the sign on it
    const SplitSign* split;   // the split sign whose left part joins, if any
    unsigned char later;      // a split sign's last part, drawn after the forms below
};

FirstUnit FindFirstUnit(const IndicScript& script, const Text& cluster, int clusterLength,
                        unsigned char typed) {
    const GlyphInventory& inventory = script.inventory;
    FirstUnit unit = {0, nullptr, nullptr, nullptr, FindSplit(script, typed), 0};
    // A split sign joins by its left part, unless the font has the unit with
    // the whole sign (Kannada's yo), or with its right part where a last
    // part follows (Kannada's yoo: yo, then the length mark).
    const unsigned char sign = unit.split ? unit.split->before : typed;
    const unsigned char later = unit.split ? unit.split->later : 0;
    unit.later = later;
    unsigned char key[kGlyphKeyMax];
    int n = 0;
    for (int k = clusterLength; k > 0; --k) {
        if ((k < clusterLength && cluster.b[k] != kHalant) || cluster.b[k - 1] == kHalant) continue;
        unit.end = k;
        if (unit.split && MakeKey(key, n, 0, cluster.b, k, typed, 0) &&
            (unit.whole = FindKey(inventory, key, n)) != nullptr) {
            unit.split = nullptr;
            unit.later = 0;
            return unit;
        }
        if (later && MakeKey(key, n, 0, cluster.b, k, unit.split->after, 0) &&
            (unit.whole = FindKey(inventory, key, n)) != nullptr) {
            unit.split = nullptr;
            return unit;
        }
        if (MakeKey(key, n, 0, cluster.b, k, sign, 0) &&
            (unit.whole = FindKey(inventory, key, n)) != nullptr)
            return unit;
        if (MakeKey(key, n, 0, cluster.b, k, kTokenHeadless, 0) &&
            (unit.body = FindKey(inventory, key, n)) != nullptr) {
            if (MakeKey(key, n, kTokenHeadless, cluster.b, k, sign, 0))
                unit.onBody = FindKey(inventory, key, n);
            // The sign where it sits on most bodies.
            const unsigned char generic[2] = {kTokenHeadless, sign};
            if (!unit.onBody && Lists(script.headSigns, sign))
                unit.onBody = FindKey(inventory, generic, 2);
            if (unit.onBody) return unit;
            unit.body = nullptr;
        }
        if (k > 1 && FindKey(inventory, cluster.b, k)) return unit; // a conjunct (KSSA)
    }
    // The first consonant as it is.
    unit.end = 1;
    while (unit.end < clusterLength && cluster.b[unit.end] != kHalant)
        ++unit.end;
    return unit;
}

// Where in cluster[from..length) the first halant + post-base consonant
// begins (a form that stands after the consonant, with room of its own);
// length when none does.
int PostBaseFormAt(const IndicScript& script, const Text& cluster, int from, int length) {
    for (int k = from; k + 1 < length; ++k)
        if (cluster.b[k] == kHalant && Lists(script.postBaseConsonants, cluster.b[k + 1]))
            return k;
    return length;
}

// The below-base form at cluster[from] after a unit drawn as one glyph with
// its sign, where the font has a form for that place (key sign + halant +
// consonant: Telugu's vattu under a consonant + aa, placed from the end of
// the wider glyph). Returns where the rest of the cluster begins.
int PutFormAfterSign(const GlyphInventory& inventory, const Text& cluster, int from, int end,
                     unsigned char sign, PairWriter& writer) {
    if (from + 1 >= end || cluster.b[from] != kHalant || !IsConsonant(cluster.b[from + 1]))
        return from;
    if (from + 2 < end && cluster.b[from + 2] != kHalant) return from; // a nukta or soft mark
    const unsigned char key[3] = {sign, kHalant, cluster.b[from + 1]};
    const GlyphEntry* form = FindKey(inventory, key, 3);
    if (!form) return from;
    PutEntry(writer, form);
    return from + 2;
}

// Writes a sign drawn apart (or a split sign's right part) that follows the
// consonants below the first, in the form the font has for that place where
// there are such consonants (key halant + sign: Kannada's vocalic R and ai
// length mark, lower after a subscript).
void PutAfterBelow(const GlyphInventory& inventory, const unsigned char* text, int length,
                   bool below, PairWriter& writer) {
    if (below && length == 1) {
        const unsigned char key[2] = {kHalant, text[0]};
        const GlyphEntry* form = FindKey(inventory, key, 2);
        if (form) {
            PutEntry(writer, form);
            return;
        }
    }
    PutRun(inventory, text, length, writer);
}

// Writes a cluster whose sign follows its first consonant (signAfterFirst):
// the first unit with the sign, then the rest of the cluster as usual (its
// below-base forms), then the tokens after the sign (reph, modifiers). A
// split sign's right part follows the joined glyphs, or the below-base forms
// where the script lists it (Kannada's length marks), as does a sign drawn
// apart that the script lists (vocalic R).
void PutSignAfterFirst(const IndicScript& script, const Text& cluster, int clusterLength,
                       const Text& tokens, int signLength, PairWriter& writer) {
    const GlyphInventory& inventory = script.inventory;
    int cut = 0;
    const GlyphEntry* last = nullptr;
    // The consonants before a visible virama stand apart, dead; the sign
    // joins the first consonant after it.
    int start = BreakBeforeFull(inventory, cluster, clusterLength);
    if (start > 0) {
        Text head, tail;
        head.n = tail.n = 0;
        for (int k = 0; k < clusterLength; ++k)
            Add(k < start ? head : tail, cluster.b[k]);
        PutCluster(script, head, head.n, writer, cut, last);
        PutSignAfterFirst(script, tail, tail.n, tokens, signLength, writer);
        return;
    }
    const FirstUnit unit = FindFirstUnit(script, cluster, clusterLength, tokens.b[0]);
    const SplitSign* split = unit.split;
    const bool beforePost = Lists(script.beforePostBase, tokens.b[0]);
    const bool later = beforePost || Lists(script.afterBelowForms, tokens.b[0]);
    Text part; // the unit, then the rest of the cluster
    part.n = 0;
    Text apart; // the sign drawn apart, when no glyph joins it
    apart.n = 0;
    if (unit.whole) {
        PutEntry(writer, unit.whole);
    } else if (unit.body) {
        PutEntry(writer, unit.body);
        PutEntry(writer, unit.onBody);
    } else {
        for (int k = 0; k < unit.end; ++k)
            Add(part, cluster.b[k]);
        PutCluster(script, part, part.n, writer, cut, last);
        AddSign(script, apart, split ? split->before : tokens.b[0]);
    }
    if (!later || split) PutRun(inventory, apart.b, apart.n, writer);
    if (split && !later) PutRun(inventory, &split->after, 1, writer);
    // Such a sign before a post-base form (a vattu that takes room of its
    // own), which would push it away.
    const int postBase = beforePost ? PostBaseFormAt(script, cluster, unit.end, clusterLength)
                                    : clusterLength;
    const int from = unit.whole ? PutFormAfterSign(inventory, cluster, unit.end, postBase,
                                                   tokens.b[0], writer)
                                : unit.end;
    part.n = 0;
    for (int k = from; k < postBase; ++k)
        Add(part, cluster.b[k]);
    PutCluster(script, part, part.n, writer, cut, last);
    const bool below = part.n > 0; // consonants drawn below the first
    if (later && !split) PutAfterBelow(inventory, apart.b, apart.n, below, writer);
    if (split && later) PutAfterBelow(inventory, &split->after, 1, below, writer);
    if (unit.later) PutRun(inventory, &unit.later, 1, writer);
    part.n = 0;
    for (int k = postBase; k < clusterLength; ++k)
        Add(part, cluster.b[k]);
    PutCluster(script, part, part.n, writer, cut, last);
    PutRun(inventory, tokens.b + signLength, tokens.n - signLength, writer);
}

// A consonant doubled by halant: the gemination mark, then the cluster from
// the second copy. Returns the bytes the mark stands for (0 without one).
int PutGeminationMark(const IndicScript& script, const unsigned char* text, PairWriter& writer) {
    if (!script.geminationMark || !IsConsonant(text[0]) || text[1] != kHalant ||
        text[2] != text[0])
        return 0;
    const unsigned char mark = kTokenGemination;
    const GlyphEntry* entry = FindKey(script.inventory, &mark, 1);
    if (!entry) return 0;
    PutEntry(writer, entry);
    return 2;
}

// What follows a cluster: its vowel sign (or the right part of a split
// sign) with a nukta, the reph taken from a leading RA, the modifiers.
struct SyllableTail {
    Text tokens;
    int signLength; // the sign's bytes at the start of tokens
};

// Reads the sign and modifiers at text[i]; moves a leading RA of the
// cluster into the tokens as the reph. Returns the index after them.
int ReadTail(const IndicScript& script, const unsigned char* text, int i, bool open,
             Text& cluster, SyllableTail& tail) {
    const GlyphInventory& inventory = script.inventory;
    tail.tokens.n = 0;
    tail.signLength = 0;
    unsigned char sign = kNoSign; // the anusvara's form depends on it
    if (open && IsSign(text[i])) {
        sign = text[i];
        // A split sign is read as itself: the font has glyphs for its parts,
        // not for the sign, and the substitute of a short o is another sign.
        if (FindSplit(script, sign))
            Add(tail.tokens, text[i++]);
        else
            AddCode(inventory, tail.tokens, text[i++]);
        if (text[i] == kNukta) {
            Add(tail.tokens, kNukta);
            ++i;
        }
        tail.signLength = tail.tokens.n;
    }
    if (script.rephFromRa && cluster.n >= 3 && cluster.b[0] == kConsonantRa &&
        cluster.b[1] == kHalant && IsClusterUnit(cluster.b[2])) {
        memmove(cluster.b, cluster.b + 2, (size_t)(cluster.n - 2));
        cluster.n -= 2;
        Add(tail.tokens, kTokenReph);
    }
    i = AddModifiers(text, i, tail.tokens);
    ChooseAnusvara(script, sign, LastConsonant(cluster), tail.tokens);
    return i;
}

// A sign that follows the first consonant (Telugu, Kannada); a cluster
// that ends in a visible virama takes it the same way: the virama joins its
// first consonant and the later consonants stand below (ಟ್ಸ್: dead TTA, SA
// below). False where the script or the syllable does not draw so.
bool PutSignAfterFirstConsonant(const IndicScript& script, const Text& cluster, bool open,
                                SyllableTail& tail, PairWriter& writer) {
    if (!script.signAfterFirst || memchr(cluster.b, kSoft, cluster.n)) return false;
    if (tail.signLength == 1) {
        PutSignAfterFirst(script, cluster, cluster.n, tail.tokens, tail.signLength, writer);
        return true;
    }
    if (!open && cluster.n >= 2 && cluster.b[cluster.n - 1] == kHalant && tail.signLength == 0) {
        Text dead;
        dead.n = 0;
        Add(dead, kHalant);
        for (int k = 0; k < tail.tokens.n; ++k)
            Add(dead, tail.tokens.b[k]);
        PutSignAfterFirst(script, cluster, cluster.n - 1, dead, 1, writer);
        return true;
    }
    return false;
}

// What goes before the cluster: a pre-base sign and whatever the font joins
// to it (the reph, a modifier), or a split sign's left part, whose right
// part then stands where the sign stood.
struct PreBase {
    unsigned char text[kGlyphKeyMax];
    int length;
    int tailStart; // where the tokens after the cluster begin
};

PreBase FindPreBase(const IndicScript& script, SyllableTail& tail) {
    PreBase pre = {{0}, 0, 0};
    if (tail.signLength < 1) return pre;
    Text& tokens = tail.tokens;
    const SplitSign* split = FindSplit(script, tokens.b[0]);
    if (split) {
        pre.text[0] = split->before;
        pre.length = 1;
        tokens.b[0] = split->after;
        // The last part follows the right part, as a sign of its own.
        if (split->later && tokens.n < kTextMax) {
            memmove(tokens.b + 2, tokens.b + 1, (size_t)(tokens.n - 1));
            tokens.b[1] = split->later;
            ++tokens.n;
            ++tail.signLength;
        }
        return pre;
    }
    if (tail.signLength == 1 && script.preBaseSigns &&
        strchr((const char*)script.preBaseSigns, tokens.b[0]) != nullptr) {
        const GlyphEntry* entry =
            LongestKeyAt(script.inventory, tokens.b, tokens.n, 0, nullptr, nullptr);
        pre.length = entry ? entry->keyLength : 1;
        memcpy(pre.text, tokens.b, (size_t)pre.length);
        pre.tailStart = pre.length;
    }
    return pre;
}

int ConvertCluster(const IndicScript& script, const unsigned char* text, PairWriter& writer) {
    const GlyphInventory& inventory = script.inventory;
    int i = PutGeminationMark(script, text, writer);
    Text cluster;
    cluster.n = 0;
    bool open = true; // false once a visible virama ends the cluster
    i += ReadClusterUnits(script, text + i, cluster, open);
    SyllableTail tail;
    i = ReadTail(script, text, i, open, cluster, tail);
    if (PutSignAfterFirstConsonant(script, cluster, open, tail, writer)) return i;
    PreBase pre = FindPreBase(script, tail);

    // The cluster, with a following sign where the font joins it to the last
    // consonant (RA + sign U).
    const int clusterLength = cluster.n;
    if (!pre.length)
        for (int k = 0; k < tail.signLength; ++k)
            Add(cluster, tail.tokens.b[k]);
    unsigned char drawn[NK_ADAPTER_OUT_MAX];
    PairWriter clusterWriter;
    BeginPairs(clusterWriter, drawn, (int)sizeof drawn);
    int cut = 0;
    const GlyphEntry* last = nullptr;
    const int p = PutCluster(script, cluster, clusterLength, clusterWriter, cut, last);
    if (!pre.length && p > clusterLength) pre.tailStart = tail.signLength;

    CopyPairs(writer, drawn, 0, cut);
    const GlyphEntry* whole =
        WholeSyllable(inventory, pre.text, pre.length, cluster, clusterLength);
    if (whole) {
        // The font draws sign and cluster as one glyph (Bengali TTA + sign I).
        PutEntry(writer, whole);
        cut = clusterWriter.used = 0;
    } else if (pre.length) {
        PutEntry(writer,
                 PreBaseEntry(inventory, pre.text, pre.length, cluster, clusterLength, cut));
    }
    ClusterGlyphs glyphs = {drawn, cut, clusterWriter.used, last};
    PutTail(script, glyphs, tail.tokens, pre.tailStart, tail.signLength, writer);
    return i;
}

} // namespace

int ConvertIndicSyllable(const IndicScript& script, const unsigned char* text, PairWriter& writer) {
    const GlyphInventory& inventory = script.inventory;
    unsigned char b = text[0];
    if (b == 0) return 0;
    if (b < 0x80) {
        PutGlyph(writer, b, '0');
        return 1;
    }
    if (IsClusterUnit(b)) return ConvertCluster(script, text, writer);
    if (b == kAtr || b == kExt) return text[1] ? 2 : 1;

    Text run;
    run.n = 0;
    int i = 1;
    if (b == kDanda) {
        Add(run, b);
        if (text[1] == kDanda || text[1] == kNukta) Add(run, text[i++]);
    } else if (b == kCandrabindu && text[1] == kNukta) {
        Add(run, b); // OM
        Add(run, text[i++]);
    } else if (IsSign(b)) {
        AddSign(script, run, b);
        if (text[1] == kNukta) Add(run, text[i++]);
        i = AddModifiers(text, i, run);
    } else if (IsVowel(b)) {
        AddCode(inventory, run, b);
        if (text[1] == kNukta) Add(run, text[i++]);
        i = AddModifiers(text, i, run);
        ChooseAnusvara(script, b, 0, run);
    } else if (IsModifier(b) || b == kHalant || b == kNukta || IsDigit(b)) {
        Add(run, b);
    } else {
        return 1; // not ISCII: no glyph
    }
    PutRun(inventory, run.b, run.n, writer);
    return i;
}

int IndicAdapterEntry(const IndicScript& script, const unsigned char* text, unsigned char* out,
                      int32_t* consumed, int32_t* length, int32_t mode) {
    (void)length;
    if (!out) return 0;
    PairWriter writer;
    BeginPairs(writer, out, NK_ADAPTER_OUT_MAX);
    if (mode != 0 || !text || !consumed) return 0;
    if (!script.readAs) {
        *consumed = ConvertIndicSyllable(script, text, writer);
        return 1;
    }
    // Codes the script lacks are read as the letters it writes for them, byte
    // for byte, so that the count consumed holds for the caller's text. A
    // syllable is far shorter than the copy (kMaxClusterUnits units).
    unsigned char mapped[kReadAsCopyMax + 1];
    int n = 0;
    for (; n < kReadAsCopyMax && text[n]; ++n) {
        mapped[n] = text[n];
        for (const unsigned char* pair = script.readAs; pair[0] && pair[1]; pair += 2)
            if (pair[0] == text[n]) mapped[n] = pair[1];
    }
    mapped[n] = 0;
    *consumed = ConvertIndicSyllable(script, mapped, writer);
    return 1;
}
