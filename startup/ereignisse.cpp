#include "licence/lizenz.h"
#include "programm/programm.h"
#include "wizard/assistent.h"

namespace kaldorin {

namespace {

// Nothing escapes a handler: a runtime failure that no step of the handler protects
// is shown to the user, and the program goes on.
Handler Binden(Programm& p, void (*handler)(Programm&)) {
    return [&p, handler] {
        try {
            handler(p);
        } catch (const Laufzeitfehler& fehler) {
            p.ui().Message(fehler.what(), "Setup", kMessageStop);
        }
    };
}

}  // namespace

// Every event the program handles, under the name the runtime looks up:
// control name, an underscore and the event name.
HandlerTable Ereignistabelle(Programm& p) {
    auto bind = [&p](void (*handler)(Programm&)) { return Binden(p, handler); };
    return {
        {"cbo_Ablehnen_Click", bind(cbo_Ablehnen_Click)},
        {"cbo_Akzeptieren_Click", bind(cbo_Akzeptieren_Click)},
        {"cbo_Weiter_Click", bind(cbo_Weiter_Click)},
        {"cbo_Zurück_Click", bind(cbo_Zurück_Click)},
        {"Win_3_Close", bind(Win_3_Close)},
        {"CMD_Abbrechen_Click", bind(CMD_Abbrechen_Click)},
        {"CMD_Browse1_Click", bind(CMD_Browse1_Click)},
        {"CMD_Browse_Click", bind(CMD_Browse_Click)},
        {"CMD_Entfernen_Click", bind(CMD_Entfernen_Click)},
        {"CMD_Weiter_Click", bind(CMD_Weiter_Click)},
        {"CMD_Zurück_Click", bind(CMD_Zurück_Click)},
        {"FRM_Installation_Close", bind(FRM_Installation_Close)},
        {"Win_1_Close", bind(Win_1_Close)},
    };
}

}  // namespace kaldorin
