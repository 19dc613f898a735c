// A library that does nothing: the DLL search test loads copies of it by name from the folders
// a program must and must not search.
extern "C" __declspec(dllexport) int FolhavidaDllSearchProbe() { return 1; }
