// The program of a layer's link check (cmake/FolhavidaModule.cmake, cmake/linkcheck/): it takes every member of the
// layer's library, so each must link with the layers below alone.
int main() { return 0; }
