# A test file made without the template: the FTL header of a vehicle with blank setups at local now.
0,20240105103000,1.00
1,20240105103000,K.L. Ostrem,Tankora,,,,,1
2,20240105103000,0,,
6,20240105103000,,0,0,0,0,0,0,0,0,,,,,,,,,,,0,0,0,0
91,20240105103000,1
92,20240105103000,1
