namespace kaldorin { void PosixPlatzhalter() {} }
