form F 10 10 "T"
button "CMD_Weiter" 1 2 3 4 "weiter"
