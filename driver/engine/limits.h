// Sizes of the driver's fixed buffers, each with its reason. Every buffer is
// declared with one of these and every copy into it is bounded by it.
#ifndef NK_LIMITS_H
#define NK_LIMITS_H

enum {
    NK_WORD_MAX_CODES = 50,       // a word is at most 50 typed codes
    NK_WORD_BUFFER_SIZE = 128,    // wordIscii
    NK_CONVERTED_SIZE = 256,      // convertedText: rules write at most 255 + NUL
    NK_SYLLABLE_OUT_SIZE = 384,   // syllableOutput (adapters write at most 64)
    NK_NEW_PAIRS_SIZE = 252,      // newPairs
    NK_SHOWN_PAIRS_SIZE = 256,    // shownPairs
    NK_GLYPHS_SIZE = 256,         // newGlyphs, shownGlyphs
    NK_TITLE_SIZE = 128,          // activeTitle, managerTitle
    NK_CLASS_NAME_SIZE = 64,      // className
    NK_ADAPTER_NAME_SIZE = 260,   // adapterFileName
    NK_LAYOUT_PATH_SIZE = 40,     // layoutPath: 39 characters and the terminator
    NK_CONVERTER_NAME_SIZE = 272, // converterFileName
    NK_MODULE_DIR_SIZE = 264,     // moduleDirectory: a module path as read (settings_location.h)
    NK_INI_DIR_SIZE = 260,        // iniDirectory
    NK_NAME_SCRATCH_SIZE = 256,   // nameScratch: module paths, entry names
    NK_PREFIX_LIST_SIZE = 64,     // "RM-DV-...-SD-" and its terminator
    NK_SCRIPT_SLOTS = 20,         // tables indexed by script code minus 64/65
    NK_DISPLAY_NAME_SIZE = 25,    // shared display names
    NK_FONT_SLOTS = 20,           // default font tables, code minus 64
    NK_FONT_NAME_SIZE = 40,       // a face name of 39 characters
    NK_AVAILABLE_SCRIPTS_SIZE = 120,
    NK_AVAILABLE_PREFIXES_SIZE = 248,
    NK_A2I_BUFFER_SIZE = 64 // _A2I's local adapter output
};

#endif // NK_LIMITS_H
