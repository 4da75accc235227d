# The installation form and its design-time controls, in the order of the control
# table. Code-built controls are not listed here.
form FRM_Installation 382 240 "KALDORIN-Edit Setup"
picture IMG_Bild       8    8  96 180
frame   fr1            8  196 366   2
button  CMD_Zurück   140  206  72  24 disabled "zurück"
button  CMD_Weiter   214  206  72  24 "weiter"
button  CMD_Abbrechen 302 206  72  24 "abbrechen"
label   LB_1         111   10 262  22 bold size=12 ""
label   LB_2         111  184 262  14 ""
label   LB_3         118   60 230  16 ""
label   LB_4         118   48 230  16 ""
label   LB_5         118   64 230  16 ""
label   LB_6         111  184 262  14 ""
label   LB_7         111  184 262  14 ""
label   LB_8         111  184 262  14 ""
label   LB_10        118  130 230  16 ""
label   LB_11        111  140 262  16 ""
label   LB_12        111  158 262  16 ""
button  CMD_Entfernen  8  206  96  24 "entfernen"
label   LB_9         118  114 230  16 ""
