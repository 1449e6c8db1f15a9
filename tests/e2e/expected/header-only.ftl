0,YYYYMMDDhhmmss,1.00
1,YYYYMMDDhhmmss,K.L. Ostrem,Tankora,,,,,1,,0
2,YYYYMMDDhhmmss,3,H-TK 4711,Tanker 12
6,YYYYMMDDhhmmss,,1,2,1,2,4,9,0,0,,,,,,,,,,,0,0,0,0
10,YYYYMMDDhhmmss,MID-0815,,,,
90,YYYYMMDDhhmmss,0,0,1,15.0,0.8,,1,0.0000
90,YYYYMMDDhhmmss,0,0,2,15.0,0.8,,0,0.0000
91,YYYYMMDDhhmmss,1
92,YYYYMMDDhhmmss,1
