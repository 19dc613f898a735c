// Where a program looks for a library it loads by name (riched20.dll, atl.dll, mshtml.dll): the
// system folder and the program's own folder only. By default Windows also searches the current
// folder and the folders of PATH, so a file named like a system library in a downloads folder
// would be loaded in its place. A program calls this first in wWinMain, before anything is loaded
// by name.
#pragma once

// Restricts the search to the system folder and the program's folder. Where the system lacks
// SetDefaultDllDirectories (a Windows 7 without its update) it at least takes the current folder
// out of the search. True when the full restriction is in force.
bool RestrictDllSearchPath();
