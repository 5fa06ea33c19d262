// The ISCII-91 code chart as the adapters read it. Portable.
#ifndef NK_ISCII_H
#define NK_ISCII_H

namespace iscii {
const unsigned char kCandrabindu = 0xA1;
const unsigned char kAnusvara = 0xA2;
const unsigned char kVisarga = 0xA3;
const unsigned char kVowelA = 0xA4;
const unsigned char kConsonantKa = 0xB3;
const unsigned char kConsonantRa = 0xCF;
const unsigned char kInv = 0xD9; // invisible consonant: a place holder for signs
const unsigned char kSignAa = 0xDA;
const unsigned char kSignI = 0xDB;
const unsigned char kHalant = 0xE8;
const unsigned char kNukta = 0xE9;
const unsigned char kDanda = 0xEA;
const unsigned char kAtr = 0xEF; // attribute: the next byte switches script or style
const unsigned char kExt = 0xF0; // extension: the next byte is an extended code
const unsigned char kDigitZero = 0xF1;

inline bool IsModifier(unsigned char b) {
    return b >= 0xA1 && b <= 0xA3;
}
inline bool IsVowel(unsigned char b) {
    return b >= 0xA4 && b <= 0xB2;
}
inline bool IsConsonant(unsigned char b) {
    return b >= 0xB3 && b <= 0xD8;
}
inline bool IsSign(unsigned char b) {
    return b >= 0xDA && b <= 0xE7;
}
inline bool IsDigit(unsigned char b) {
    return b >= 0xF1 && b <= 0xFA;
}
// A consonant or the invisible consonant: what a cluster is made of.
inline bool IsClusterUnit(unsigned char b) {
    return IsConsonant(b) || b == kInv;
}
} // namespace iscii

#endif // NK_ISCII_H
