// The syllable reader and glyph composer shared by the ISCII script adapters.
// Portable: built natively for the tests and into every adapter module.
//
// A syllable is one of:
//   - a cluster: consonants (or INV) each with an optional nukta, joined by
//     halant, at most kMaxClusterUnits of them; then an optional vowel sign
//     (with a nukta for the vocalic RR/L/LL signs) and at most two of
//     candrabindu, anusvara, visarga. A cluster ends early at a halant that no
//     consonant follows (a visible virama), at halant + halant (the explicit
//     halant: visible virama, no conjunct) and after the unit limit;
//     halant + nukta is the soft halant: a half form, never a conjunct (or,
//     where the font has a glyph for consonant + halant + nukta, that letter,
//     which ends the cluster: the Bengali khanda ta, the Malayalam chillu);
//   - an independent vowel (with nukta) and its modifiers; a stray sign,
//     halant, nukta or modifier; the danda (danda + danda, danda + nukta);
//     a digit; ATR or EXT with the byte after it (no glyph);
//   - an ASCII byte, passed through as its own code in set '0';
//   - any other byte, consumed without a glyph.
// Glyphs are written in visual order: pre-base signs (and what the font
// joins to them) before the cluster, or before the part of the cluster after
// its last visible virama; the cluster as the longest conjunct, half-form and
// subjoined-form keys of the inventory, with a visible virama where the font
// has neither; then the vowel sign (or the right part of a split vowel),
// reph and modifiers.
//
// Where the script says so (signAfterFirst), the vowel sign follows the
// cluster's first consonant instead, joined to it as the font has it, and the
// later consonants' below-base forms come after the sign.
// What differs between scripts is data in IndicScript: the glyph inventory
// (its keys say which conjuncts, half forms "C+E8", subjoined or post-base
// forms "E8+C" and sign ligatures the font has), the pre-base signs, the
// split vowels, whether RA + halant is a reph, the vowels after which the
// anusvara takes its alternative form, and whether a doubled consonant is
// drawn with a gemination mark.
#ifndef NK_INDIC_SYLLABLE_H
#define NK_INDIC_SYLLABLE_H

#include <stdint.h>

#include "modules/common/glyph_inventory.h"

enum { kMaxClusterUnits = 8 };

// Stands for "no vowel sign" (the inherent vowel) in IndicScript's
// altAnusvaraAfter; no ISCII sign has this value.
const unsigned char kNoSign = 0xFF;

// A vowel sign that a script writes in two parts around its cluster
// (Bengali, Oriya, Tamil and Malayalam o and au): each part is a one-byte key
// of the inventory.
struct SplitSign {
    unsigned char sign;   // the ISCII sign
    unsigned char before; // key of the part drawn before the cluster, like a pre-base sign
    unsigned char after;  // key of the part drawn after it, where the sign would be
    // Or 0: key of a last part, drawn after the consonants below the first
    // (with signAfterFirst) or after the right part (Kannada oo: its length
    // mark after the subscripts, its uu sign before them). A font's glyph
    // of a consonant with the right part (key consonant + after) joins it.
    unsigned char later = 0;
};

// What a script adds to the shared reader. Scripts that need none of the
// later fields leave them out: they default to Devanagari's behaviour.
struct IndicScript {
    GlyphInventory inventory;
    const unsigned char* preBaseSigns; // NUL-terminated; signs drawn before the cluster
    bool rephFromRa;                   // RA + halant before a consonant becomes the reph
    // Null, or a list ended by a zero sign.
    const SplitSign* splitSigns = nullptr;
    // Keys ending in halant are dead consonants drawn with a visible virama
    // (Tamil's pulli, Malayalam's chandrakkala), not half forms: they serve at
    // the end of a cluster as well as inside it.
    bool deadFormsVisible = false;
    // A key consonant + halant + nukta is a letter of its own (Bengali's
    // khanda ta, Malayalam's chillu) that ends the syllable: typed so (ISCII's
    // soft halant) anywhere in every script; with this set also for a dead
    // consonant at the end of a word. The explicit halant (halant + halant)
    // keeps the visible virama.
    bool chilluAtWordEnd = false;
    // The reph is drawn on the consonant, before the vowel signs after the
    // cluster (Bengali, Oriya), not at the end of the syllable.
    bool rephBeforeSigns = false;
    // NUL-terminated: modifiers drawn on the consonant like the reph, before
    // the signs after the cluster (Bengali candrabindu before sign AA).
    const unsigned char* consonantMarks = nullptr;
    // NUL-terminated: consonants whose form after a halant ("E8+C") stands
    // after the consonant (Bengali ya-phala, Telugu's spacing vattu), and the
    // signs drawn below the consonant, which go before such a form.
    const unsigned char* postBaseConsonants = nullptr;
    const unsigned char* belowBaseSigns = nullptr;
    // NUL-terminated: independent vowels and signs (kNoSign for the bare
    // consonant) after which the anusvara is drawn as kTokenAltAnusvara.
    const unsigned char* altAnusvaraAfter = nullptr;
    // NUL-terminated, or null for any: the consonants over which (the
    // cluster's last) the anusvara after altAnusvaraAfter takes that form
    // (Gujarati's anusvara left of the stem of KA, DA, RA and the like).
    const unsigned char* altAnusvaraOn = nullptr;
    bool geminationMark = false; // C + halant + C drawn as kTokenGemination + C
    // RA + halant before a consonant is RA's chillu (key RA + halant + nukta),
    // which ends the syllable: the reph of Malayalam's reformed spelling.
    bool rephAsChillu = false;
    // NUL-terminated: consonants whose form after a halant (key halant + C)
    // stands before the consonant or conjunct it follows (Malayalam's
    // vertical RA).
    const unsigned char* preBaseForms = nullptr;
    // NUL-terminated pairs: an ISCII code the script has no letter for, and
    // the code it is read as (Tamil reads the aspirates and voiced stops as
    // the consonant of their class).
    const unsigned char* readAs = nullptr;
    // Every vowel sign (and the virama of a cluster that ends in one)
    // follows the first consonant of its cluster, before the below-base
    // forms of the later ones (Telugu, Kannada). The first consonant (or a
    // conjunct the font has, KSSA) and the sign are drawn as the font's
    // glyph for both (key consonant + sign) where it has one; else as the
    // consonant's headless body (key consonant + kTokenHeadless) and the
    // sign as drawn on that body (key kTokenHeadless + consonant + sign)
    // where it has both, or the body and the sign where it sits on most
    // bodies (key kTokenHeadless + sign) for the signs listed in headSigns;
    // else as the consonant and the sign's own glyph. A below-base form
    // right after a unit drawn as one glyph with its sign is the font's form
    // for that place where it has one (key sign + halant + consonant).
    bool signAfterFirst = false;
    // NUL-terminated: the signs that take the place of a consonant's head.
    const unsigned char* headSigns = nullptr;
    // NUL-terminated, with signAfterFirst: signs drawn apart from the first
    // consonant that follow the below-base forms of the cluster (vocalic R),
    // and split signs whose right part does (Kannada's ii, ee, ai length
    // marks); other signs and right parts follow the first consonant. After
    // below-base forms such a sign or part takes the font's form for that
    // place where it has one (key halant + sign).
    const unsigned char* afterBelowForms = nullptr;
    // NUL-terminated, with signAfterFirst: signs drawn apart that follow the
    // below-base forms but go before the first post-base form (Telugu's u
    // and uu, before a vattu that takes room of its own).
    const unsigned char* beforePostBase = nullptr;
    // NUL-terminated: the subjoined forms before which a consonant that has
    // a base form (key consonant + kTokenBaseForm) stays whole (Oriya's
    // ra-phala); before the others it takes that form.
    const unsigned char* fullBeforeForms = nullptr;
};

// Converts the syllable at the start of text (NUL-terminated) into pairs.
// Returns the number of bytes consumed: at least 1 unless text is empty.
int ConvertIndicSyllable(const IndicScript& script, const unsigned char* text, PairWriter& writer);

// The conversion entry's body for an ISCII script adapter: mode 0 converts
// one syllable into out (at most NK_ADAPTER_OUT_MAX bytes); other modes store
// nothing and leave an empty output. Returns 1 when it converted.
int IndicAdapterEntry(const IndicScript& script, const unsigned char* text, unsigned char* out,
                      int32_t* consumed, int32_t* length, int32_t mode);

#endif // NK_INDIC_SYLLABLE_H
