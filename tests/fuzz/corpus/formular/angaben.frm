form F 10 20 "Ti\"tel"
checkbox CB_1 -1 2 3 4 disabled bold size=9 "a \" b" "zweiter"
textbox TB 1 2 3 4
progressbar PB 0 0 1 1
