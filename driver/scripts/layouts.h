// Per-process results of the layout exports that the composer needs. Module
// handles and entry addresses mean nothing in another process, so the shared
// converterModule/converterEntry only say that something is bound; the
// composer calls the entry bound in its own process.
#ifndef NK_LAYOUTS_H
#define NK_LAYOUTS_H

#include "include/nelkor.h"

// make_iscii of the typewriter converter module bound by SetConverter1 in
// this process; null when none is bound here.
MakeIsciiFn BoundConverterEntry(void);

// True when this process has a converter bound from the module file path
// (compared without regard to case): the hook then keeps it.
bool ConverterBoundFrom(const char* path);

// The last SetConverter1 in this process refused its module file, or the
// last FillKeyboardTable its layout file: a file outside the program folder.
bool ConverterRefused(void);
bool LayoutRefused(void);

// The hook's _LKT for layoutPath at every key-down: the same choice of file
// and kind, but the file is read again only when it changed (name, size,
// last write time, or the script whose block is read), and the rules are
// not marked for reloading. Returns the table keys are looked up in.
const LayoutTable* RefreshLayoutForKey(int kind);

// The table keys are looked up in, in this process: the table filled from the
// layout file for kinds 161 and 162, the built-in Inscript table otherwise.
const LayoutTable* ActiveLayoutTable(void);

#endif // NK_LAYOUTS_H
