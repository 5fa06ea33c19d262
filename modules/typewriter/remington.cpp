// The Remington converter. A typist strikes the keys in the order the
// typewriter prints, which is not the order of the letters:
//   - the short-i sign comes before the consonant cluster it belongs to;
//   - a half letter (consonant + halant) comes before the letter it joins,
//     and followed by the stem key "ा" it is the full letter (ख = ख् + ा);
//   - the reph comes after its syllable, vowel signs included;
//   - vowels and the o/au signs are built from parts (आ = अ + ा, ो = ा + े).
// The conversion reads the whole word again at every key, so Backspace (which
// drops the last typed code) needs nothing of its own.
#include "modules/typewriter/remington.h"

#include "modules/common/iscii.h"
#include "modules/typewriter/typed_output.h"

namespace remington {
namespace {

using namespace iscii;
using typewriter::TypedOutput;

const unsigned char kVowelAa = 0xA5, kVowelI = 0xA6, kVowelIi = 0xA7, kVowelE = 0xAC,
                    kVowelAi = 0xAD, kVowelO = 0xB0, kVowelAu = 0xB1, kVowelCandraO = 0xB2;
const unsigned char kSignE = 0xE1, kSignAi = 0xE2, kSignCandraE = 0xE3, kSignO = 0xE5,
                    kSignAu = 0xE6, kSignCandraO = 0xE7;

// The end of a letter that a halant can follow: a consonant or its nukta.
bool EndsLetter(unsigned char b) {
    return IsConsonant(b) || b == kNukta;
}

// Where the consonant cluster ending at `end` of the output begins; `end`
// itself when no consonant ends there.
size_t ClusterStart(const unsigned char* a, size_t end) {
    size_t k = end;
    if (k > 0 && a[k - 1] == kNukta) --k;
    if (k == 0 || !IsConsonant(a[k - 1])) return end;
    --k;
    while (k >= 2 && a[k - 1] == kHalant) {
        size_t m = k - 2;
        if (a[m] == kNukta && m > 0) --m;
        if (!IsConsonant(a[m])) break;
        k = m;
    }
    return k;
}

// The reph mark moves to the front of the syllable before it, past its vowel
// signs and modifiers; with no syllable there it stays a visible "र्".
void PlaceReph(TypedOutput& o) {
    size_t end = o.nOut;
    while (end > 0 && (IsSign(o.aOut[end - 1]) || IsModifier(o.aOut[end - 1])))
        --end;
    const size_t start = ClusterStart(o.aOut, end);
    if (start == end) {
        typewriter::Put(o, kConsonantRa);
        typewriter::Put(o, kHalant);
        return;
    }
    typewriter::InsertPair(o, start, kConsonantRa, kHalant);
}

bool Replace(TypedOutput& o, unsigned char code) {
    typewriter::ReplaceLast(o, code);
    return true;
}

// A code that completes what the last written code began; true when it did.
bool Combine(TypedOutput& o, unsigned char code) {
    const unsigned char last = typewriter::Before(o, 1);
    switch (code) {
    case kSignAa:
        if (last == kHalant && EndsLetter(typewriter::Before(o, 2))) {
            typewriter::DropLast(o); // half letter + stem: the full letter
            return true;
        }
        if (last == kVowelA) return Replace(o, kVowelAa);
        return false;
    case kSignE:
        if (last == kSignAa) return Replace(o, kSignO);
        if (last == kVowelAa) return Replace(o, kVowelO);
        if (last == kVowelE) return Replace(o, kVowelAi);
        return false;
    case kSignAi:
        if (last == kSignAa) return Replace(o, kSignAu);
        if (last == kVowelAa) return Replace(o, kVowelAu);
        return false;
    case kSignCandraE:
        if (last == kSignAa) return Replace(o, kSignCandraO);
        if (last == kVowelAa) return Replace(o, kVowelCandraO);
        return false;
    case kRephMark:
        if (last == kVowelI) return Replace(o, kVowelIi);
        PlaceReph(o);
        return true;
    default: return false;
    }
}

void Emit(TypedOutput& o, unsigned char code) {
    if (!Combine(o, code)) typewriter::Put(o, code);
}

// Whether the typed codes from `from` make a complete cluster (half letters,
// then a full letter or a half letter with its stem); *end is just past it.
// A cluster still ending in a half letter is not complete: its full letter
// has yet to come.
bool CompleteCluster(const unsigned char* t, size_t from, size_t* end) {
    size_t k = from;
    while (IsConsonant(t[k])) {
        ++k;
        if (t[k] == kNukta) ++k;
        if (t[k] != kHalant) {
            *end = k;
            return true;
        }
        if (t[k + 1] == kSignAa) {
            *end = k + 2;
            return true;
        }
        if (!IsConsonant(t[k + 1])) return false;
        ++k;
    }
    return false;
}

} // namespace

size_t MakeIscii(const unsigned char* typed, unsigned char* out) {
    TypedOutput o = typewriter::StartOutput(out);
    size_t i = 0;
    while (typed[i] && !o.cut) {
        size_t end = 0;
        if (typed[i] == kSignI && CompleteCluster(typed, i + 1, &end)) {
            // The short-i sign waited for its cluster: it follows it.
            for (size_t k = i + 1; k < end; ++k)
                Emit(o, typed[k]);
            typewriter::Put(o, kSignI);
            i = end;
            continue;
        }
        Emit(o, typed[i]); // a short-i sign without its cluster stays as typed
        ++i;
    }
    return o.nOut;
}

} // namespace remington
