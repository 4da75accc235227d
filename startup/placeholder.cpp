namespace kaldorin { void ProgrammPlatzhalter() {} }
