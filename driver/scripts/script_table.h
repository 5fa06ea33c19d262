// The script table: every script code's prefix, display names, converter name
// and published adapter module names. Portable (no Windows API).
#ifndef NK_SCRIPT_TABLE_H
#define NK_SCRIPT_TABLE_H

// Three characters per code from 'A'; code 'S' lies at the end and has an
// empty prefix.
extern const char kScriptPrefixList[];

// True for a code of the table ('A'..'S').
bool IsScriptCode(int code);

// Two-letter prefix of a code ("DV"); two blanks for 'L'..'Q', "" for 'S'
// and for codes outside the table. Writes into prefix (3 bytes).
void ScriptPrefix(int code, char prefix[3]);

// Display name shown in the manager's title ("Sanskirt-DEV" for 'R').
const char* ScriptTitleName(int code);

// Part of the conversion entry's name that names the script ("dev").
const char* ScriptConverterName(int code);

// Published adapter module names for 'A'..'K' ("dvtrop32.dll" and
// "dvbfa32.dll"); nullptr for other codes.
const char* ScriptSingleModule(int code);
const char* ScriptBilingualModule(int code);

// File name of a script's adapter module as activation builds it: the
// prefix ("VD" instead for the Devanagari variant of multiple font sets),
// then "TROP32.DLL", or "BFA32.DLL" for the bilingual font. Writes into name
// (size bytes, cut when it does not fit); returns the length written.
int ScriptModuleFileName(int code, bool bilingual, bool variant, char* name, int size);

// Script code whose prefix a face name carries at its start ("DV-Velta"
// gives 'B', "SD-x" 'R'); 0 for faces whose first three characters are no
// script prefix followed by a hyphen.
int ScriptOfFace(const char* face);

// Scripts for which the multiple-sets option matters.
extern const char kMultipleSetScripts[]; // "BMN"

#endif // NK_SCRIPT_TABLE_H
