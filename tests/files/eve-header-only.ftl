# The header-only event file of a forced run with nothing to send: the header at local now.
0,20240105093000,1.00
1,20240105093000,K.L. Ostrem,Tankora,,,,,1
2,20240105093000,0,,
6,20240105093000,,0,0,0,0,0,0,0,0,,,,,,,,,,,0,0,0,0
91,20240105093000,1
92,20240105093000,1
