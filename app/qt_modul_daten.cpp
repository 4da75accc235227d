// The bytes of the Qt face module, carried inside the program (app/qt_modul.h). The
// build names the file to take in KALDORIN_QT_MODUL_DATEI.
#ifndef KALDORIN_QT_MODUL_DATEI
#error "KALDORIN_QT_MODUL_DATEI names the module file to carry"
#endif

__asm__(".pushsection .rodata.kaldorin_qt_modul, \"a\"\n"
        ".balign 64\n"
        ".globl kaldorin_qt_modul_anfang\n"
        "kaldorin_qt_modul_anfang:\n"
        ".incbin \"" KALDORIN_QT_MODUL_DATEI "\"\n"
        ".globl kaldorin_qt_modul_ende\n"
        "kaldorin_qt_modul_ende:\n"
        ".popsection\n");
