#pragma once
// The running setup program's own file. Windows keeps a running program's file from
// being deleted, but lets it be renamed within its volume. A removal started from the
// installed copy therefore moves the file out of the installation folder, into a new
// folder of random name in the user's own temporary folder, and goes on running from
// there; the next start of the setup removes that folder. The removal also leaves the
// folder it removes when that is the current folder, which Windows keeps in use too.

#include <string>

namespace kaldorin::w32 {

// Whether `pfad` names the running program's file, however it is spelt.
bool IstEigeneDatei(const std::wstring& pfad);

// Moves the running program's file `pfad` into a new folder "KALDORIN-Setup-" + 16
// random hexadecimal digits in the user's temporary folder. Throws when it cannot
// (the temporary folder lies on another volume); the file then stays where it is.
void EigeneDateiWegraeumen(const std::wstring& pfad);

// Removes the folders that earlier runs moved their file into, where that program no
// longer runs. Never throws: what cannot go yet goes at a later start.
void WeggeraeumtesEntfernen();

// Makes another folder the current one when `ordner` is it or holds it.
void OrdnerVerlassen(const std::wstring& ordner);

}  // namespace kaldorin::w32
