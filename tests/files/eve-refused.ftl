# Event file of a run stopped by a refused progress write and the run after it in the same second: one header, and the row whose progress was not stored comes again.
0,20240105081500,1.00
1,20240105081500,K.L. Ostrem,Tankora,,,,,1
2,20240105081500,0,,
6,20240105081500,,0,0,0,0,0,0,0,0,,,,,,,,,,,0,0,0,0
91,20240105081500,1
92,20240105081500,1
42,20240105081500,,20,2,2
42,20240105081600,,20,2,2
42,20240105081600,,20,2,2
42,20240105081700,,20,2,2
