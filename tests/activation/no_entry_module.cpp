// A module that loads but exports no conversion entry: activation must
// report it as an invalid file.
extern "C" __declspec(dllexport) int __cdecl not_a_converter(void) {
    return 0;
}
