// The Tamil99 converter. Its keys type letters, not signs; the keyboard's
// rules make the signs:
//   - a vowel key right after a consonant (one without pulli or vowel sign)
//     gives that vowel's sign; the அ key there gives nothing more, and keeps
//     the next rule from joining the two consonants around it;
//   - a consonant right after the same consonant gives the first its pulli
//     (க + க = க்க), and so does each nasal before its own plosive (ங்க,
//     ஞ்ச, ண்ட, ந்த, ம்ப, ன்ற): the automatic pulli of the standard. A
//     consonant that took part in one such pair does not start another, so
//     three equal consonants give க்கக;
//   - the pulli key puts the pulli itself; a vowel key after it is a vowel.
// The conversion reads the whole word again at every key, so Backspace (which
// drops the last typed code) needs nothing of its own.
#include "modules/typewriter/tamil99.h"

#include "modules/common/iscii.h"
#include "modules/typewriter/typed_output.h"

namespace tamil99 {
namespace {

using namespace iscii;
using typewriter::TypedOutput;

// The vowel sign of each independent vowel, from அ (0xA4) to ஔ's row end
// (0xB2); 0 for அ, which has none.
const unsigned char kSignOfVowel[] = {0,    0xDA, 0xDB, 0xDC, 0xDD, 0xDE, 0xDF, 0xE0,
                                      0xE1, 0xE2, 0xE3, 0xE4, 0xE5, 0xE6, 0xE7};
const unsigned char kFirstVowel = 0xA4;

// The nasal-plosive pairs that get the automatic pulli, in ISCII.
struct Pair {
    unsigned char nasal, plosive;
};
const Pair kAutoPulli[] = {
    {0xB7, 0xB3}, // ங க
    {0xBC, 0xB8}, // ஞ ச
    {0xC1, 0xBD}, // ண ட
    {0xC6, 0xC2}, // ந த
    {0xCC, 0xC8}, // ம ப
    {0xC7, 0xD0}, // ன ற
};

bool JoinsWith(unsigned char previous, unsigned char consonant) {
    if (previous == consonant) return true;
    for (const Pair& pair : kAutoPulli)
        if (pair.nasal == previous && pair.plosive == consonant) return true;
    return false;
}

// What the last written code leaves open to the rules.
enum class Open {
    Nothing,   // a vowel, sign, pulli or anything else
    Consonant, // a bare consonant that may take a sign or a pulli
    Joined,    // a bare consonant that already took part in a pair
};

} // namespace

size_t MakeIscii(const unsigned char* typed, unsigned char* out) {
    TypedOutput o = typewriter::StartOutput(out);
    Open open = Open::Nothing;
    for (size_t i = 0; typed[i] && !o.cut; ++i) {
        const unsigned char code = typed[i];
        if (IsVowel(code) && open != Open::Nothing) {
            const unsigned char sign = kSignOfVowel[code - kFirstVowel];
            if (sign) typewriter::Put(o, sign);
            open = Open::Nothing;
            continue;
        }
        if (IsConsonant(code)) {
            const bool join = open == Open::Consonant && JoinsWith(typewriter::Before(o, 1), code);
            if (join) typewriter::Put(o, kHalant);
            typewriter::Put(o, code);
            open = join ? Open::Joined : Open::Consonant;
            continue;
        }
        typewriter::Put(o, code);
        open = Open::Nothing;
    }
    return o.nOut;
}

} // namespace tamil99
