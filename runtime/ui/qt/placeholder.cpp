namespace kaldorin { void QtPlatzhalter() {} }
