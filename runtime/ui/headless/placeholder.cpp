namespace kaldorin { void HeadlessPlatzhalter() {} }
