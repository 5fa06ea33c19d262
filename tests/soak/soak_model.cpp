#include "tests/soak/soak_model.h"

#include <stdio.h>
#include <string.h>

#include "driver/engine/compose_diff.h"
#include "driver/scripts/script_table.h"
#include "tests/bench/inscript_keys.h"

namespace {

const char kTitleBase[] = "TAV-MultiScript";

void ResetWord(SoakModel* m) {
    m->word[0] = 0;
    m->shownGlyphs[0] = 0;
    m->shownPairs[0] = 0;
}

// ---------------------------------------------------------------------------
// The application's edit control: characters go in at the caret; Backspace
// and the arrows treat "\r\n" as one character, as the edit control does.
bool LineBreakBefore(const SoakModel& m, size_t at) {
    return at >= 2 && m.text[at - 2] == '\r' && m.text[at - 1] == '\n';
}

bool LineBreakAt(const SoakModel& m, size_t at) {
    return at + 1 < m.length && m.text[at] == '\r' && m.text[at + 1] == '\n';
}

void InsertText(SoakModel* m, const char* text, size_t n) {
    if (m->length + n >= SOAK_TEXT_MAX) return; // callers clear the text long before
    memmove(m->text + m->caret + n, m->text + m->caret, m->length - m->caret);
    memcpy(m->text + m->caret, text, n);
    m->length += n;
    m->caret += n;
    m->text[m->length] = 0;
}

void DeleteBeforeCaret(SoakModel* m) {
    if (m->caret == 0) return;
    const size_t n = LineBreakBefore(*m, m->caret) ? 2 : 1;
    memmove(m->text + m->caret - n, m->text + m->caret, m->length - m->caret);
    m->caret -= n;
    m->length -= n;
    m->text[m->length] = 0;
}

void MoveLeft(SoakModel* m) {
    if (m->caret > 0) m->caret -= LineBreakBefore(*m, m->caret) ? 2 : 1;
}

void MoveRight(SoakModel* m) {
    if (m->caret < m->length) m->caret += LineBreakAt(*m, m->caret) ? 2 : 1;
}

// ---------------------------------------------------------------------------
// The driver's word.

// Convert the word, erase what changed, type the rest: the driver's path
// after the word's codes changed.
void Recompose(SoakModel* m) {
    const AdapterEntryFn entry = m->adapterFor ? m->adapterFor(m->script) : nullptr;
    if (!entry) return; // no adapter: nothing is typed, the word keeps its codes
    const SyllableBuffers b = {m->output,    sizeof m->output,    m->newPairs, sizeof m->newPairs,
                               m->newGlyphs, sizeof m->newGlyphs, m->scratch,  sizeof m->scratch};
    // Hyphenation is on by default; it matters to Tamil, Telugu and Malayalam.
    const HyphenRule hyphen = {true, m->script};
    AdapterCursor cursor = {};
    int32_t syllables = 0;
    if (ConvertSyllables(entry, m->word, b, hyphen, &cursor, &syllables) == CONVERT_OVERFLOW) {
        ResetWord(m);
        return;
    }
    const WordDiff diff =
        DiffWord(m->shownGlyphs, sizeof m->shownGlyphs, m->newGlyphs, sizeof m->newGlyphs,
                 m->shownPairs, sizeof m->shownPairs, m->newPairs, sizeof m->newPairs, false);
    for (size_t i = 0; i < diff.eraseCount; ++i) DeleteBeforeCaret(m);
    const size_t newLength = strlen(m->newGlyphs);
    InsertText(m, m->newGlyphs + diff.common, newLength - diff.common);
    memcpy(m->shownGlyphs, m->newGlyphs, newLength + 1);
    memcpy(m->shownPairs, m->newPairs, strlen(m->newPairs) + 1);
    ++m->composed;
}

void ComposeKey(SoakModel* m, const SoakKey& key) {
    KeyCodesInput in = {};
    in.scanCode = key.scan;
    in.virtualKey = UsVirtualKey(key.scan);
    in.activeScript = m->script;
    in.shiftDown = key.shift;
    in.entry = key.scan < LAYOUT_KEYS ? &m->table->keys[key.scan] : nullptr;
    char text[KEY_CODES_SIZE];
    if (KeyCodes(in, text) != KEY_CODES_TEXT) return;
    const size_t wordLength = strlen(m->word);
    if (wordLength + strlen(text) > NK_WORD_MAX_CODES) {
        ResetWord(m); // the key is lost and the next key starts a new word
        ++m->wordLimitDrops;
        return;
    }
    memcpy(m->word + wordLength, text, strlen(text) + 1);
    Recompose(m);
}

void BackspaceInScript(SoakModel* m) {
    size_t length = strlen(m->word);
    if (length == 0) {
        DeleteBeforeCaret(m); // an empty word: the application deletes
        return;
    }
    size_t remove = m->fault == SOAK_FAULT_BACKSPACE_TWO_CODES && length > 1 ? 2 : 1;
    m->word[length - remove] = 0;
    Recompose(m);
}

// The character a key types in English: letters follow Shift and Caps Lock.
char EnglishChar(const SoakModel& m, const SoakKey& key) {
    char c = UsKeyChar(key.scan, key.shift);
    const bool letter = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
    if (letter && m.switchOn) c = UsKeyChar(key.scan, !key.shift);
    return c;
}

// Keys that reach the application in every mode: the word ends.
void PassedKey(SoakModel* m, const SoakKey& key) {
    ResetWord(m);
    switch (key.kind) {
    case SOAK_SCRIPT_KEY: {
        const char c = EnglishChar(*m, key);
        if (c) InsertText(m, &c, 1);
        break;
    }
    case SOAK_BACKSPACE: DeleteBeforeCaret(m); break;
    case SOAK_SPACE: InsertText(m, " ", 1); break;
    case SOAK_ENTER: InsertText(m, "\r\n", 2); break;
    case SOAK_LEFT: MoveLeft(m); break;
    case SOAK_RIGHT: MoveRight(m); break;
    default: break; // Shift, Up, Down, a click, a hot key in English: no text
    }
}

} // namespace

void SoakModelInit(SoakModel* m, const LayoutTable* table, SoakAdapterFn adapterFor, int script) {
    memset(m, 0, sizeof *m);
    m->table = table;
    m->adapterFor = adapterFor;
    m->script = script;
}

bool SoakScriptTyping(const SoakModel& m) {
    return m.switchOn && !m.disabled;
}

void SoakModelKey(SoakModel* m, const SoakKey& key) {
    ++m->keys;
    switch (key.kind) {
    case SOAK_SWITCH:
        m->switchOn = !m->switchOn;
        if (!m->switchOn) ResetWord(m);
        return;
    case SOAK_CTRL_SPACE:
        m->disabled = !m->disabled;
        ResetWord(m);
        // The key itself reaches the application, which may type a character
        // for it; only with Caps Lock off, as Wine translates it.
        if (m->ctrlSpaceChar && !m->switchOn) InsertText(m, &m->ctrlSpaceChar, 1);
        return;
    case SOAK_CLICK: ResetWord(m); return;
    default: break;
    }
    if (!SoakScriptTyping(*m)) {
        PassedKey(m, key); // English or disabled: every key ends the word and passes
        return;
    }
    switch (key.kind) {
    case SOAK_SCRIPT_KEY: ComposeKey(m, key); return;
    case SOAK_SHIFT_ALONE: return; // Shift keeps the word
    case SOAK_BACKSPACE: BackspaceInScript(m); return;
    case SOAK_HOT_KEY:
        ResetWord(m);
        m->script = key.script;
        return;
    default: PassedKey(m, key); return;
    }
}

void SoakModelSetCaret(SoakModel* m, size_t caret) {
    m->caret = caret <= m->length ? caret : m->length;
}

void SoakModelClearText(SoakModel* m) {
    m->length = 0;
    m->caret = 0;
    m->text[0] = 0;
}

void SoakExpectedTitle(const SoakModel& m, char* title, size_t size) {
    const char* mode = m.disabled ? "Disabled" : !m.switchOn ? "English" : ScriptTitleName(m.script);
    snprintf(title, size, "%s [%s]", kTitleBase, mode);
}

void SoakModelAdopt(SoakModel* m, const char* text, size_t caret) {
    size_t n = strlen(text);
    if (n >= SOAK_TEXT_MAX) n = SOAK_TEXT_MAX - 1;
    memcpy(m->text, text, n);
    m->text[n] = 0;
    m->length = n;
    SoakModelSetCaret(m, caret);
}
