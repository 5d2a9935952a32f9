#pragma once
// Where the process looks for the libraries it loads by name.

// Takes the current directory out of the search, before anything is loaded: Run tests leaves
// the current directory in the project's folder, and the dialogs opened later load shell
// extensions and what they need by name. Libraries the system loads on the process's behalf
// come from the system folder (where the system offers that: Windows 8 and later, or Windows 7
// with its update for it); the current directory is never searched in any case.
void HardenDllSearch();
