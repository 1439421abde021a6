TRAVERSE RECORD

01CE ZHEN:        B
DATE 2007-05-12
YQ 1
---
---
---
---
HZ ANGLE   123.45305
---
---
HOU SHI U 1A           0.00000
2P1        123.45305
YI QI K= 1.450  a= 1.600
---
---
V ANGLE      2.30000  
QI YA 1013 WEN DU 20
---
---
---
---
---
SD 125.400  D=  125.281
01CE ZHEN:       P1
DATE 2007-05-12
YQ 1
---
---
---
---
HZ ANGLE   123.45315
---
---
HOU SHI U 1B           0.00000
2P2        123.45315
YI QI K= 1.520  a= 1.610
---
---
V ANGLE     -2.29595  
YI QI K= 1.520  a= 1.620
---
---
V ANGLE     -1.00000  
QI YA 1013 WEN DU 20
---
---
---
---
---
SD 125.400  D=  199.970
01CE ZHEN:       P2
DATE 2007-05-12
YQ 1
---
---
---
---
HZ ANGLE    123.4531
---
---
HOU SHI U 1P1          0.00000
2C         123.4531
YI QI K= 1.530  a= 1.630
---
---
V ANGLE      1.00005  
YI QI K= 1.530  a= 1.640
---
---
V ANGLE      0.30000  
QI YA 1013 WEN DU 20
---
---
---
---
---
SD 125.400  D=  149.994
01CE ZHEN:        C
DATE 2007-05-12
YQ 1
---
---
---
---
HZ ANGLE    95.30200
---
---
HOU SHI U 1P2          0.00000
2D         95.30200
YI QI H         a= 1.650
---
---
V ANGLE     -0.29590  
