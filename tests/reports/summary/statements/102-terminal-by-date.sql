select P1,P2,P3,P4,P5 from Sys_Para where P1='机器日期月报' and Para_Name='HZ_Rep_Format'
select * from Mach_Info where Del_YN=0 order by Mach_ID
select sum(YuE_change) as YuE_C ,count(YuE_Change) as YuE_B  from Record_XF  where left(date_Time,7)>='2026-10' and left(date_Time,7)<='2026-11' and XF_Type in(161,202,169,170,174,129)
select sum(YuCi_change) as YuCi_C ,count(YuCi_Change) as YuCi_B  from Record_XF  where left(date_Time,7)>='2026-10' and left(date_Time,7)<='2026-11' and XF_Type in (163,171,172)
select sum(YuE_change) as YuE_C ,count(YuE_Change) as YuE_B  from Record_XF  where left(date_Time,7)>='2026-10' and left(date_Time,7)<='2026-11' and XF_Type in(5,6)
select sum(YuCi_change) as YuCi_C ,count(YuCi_Change) as YuCi_B  from Record_XF  where left(date_Time,7)>='2026-10' and left(date_Time,7)<='2026-11' and XF_Type in(7,8)
select sum(YuE_change) as YuE_C ,count(YuE_Change) as YuE_B  from Record_XF  where left(date_Time,7)>='2026-10' and left(date_Time,7)<='2026-11' and XF_Type=11
select sum(YuE_change) as YuE_C ,count(YuE_Change) as YuE_B  from Record_XF  where left(date_Time,7)>='2026-10' and left(date_Time,7)<='2026-11' and XF_Type in(173,174)
select sum(YuCi_change) as YuCi_C ,count(YuCi_Change) as YuCi_B  from Record_XF  where left(date_Time,7)>='2026-10' and left(date_Time,7)<='2026-11' and XF_Type=13
select sum(YuE_change) as YuE_C ,count(YuE_Change) as YuE_B  from Record_XF  where left(date_Time,7)>='2026-10' and left(date_Time,7)<='2026-11' and XF_Type=162
select sum(YuE_change) as YuE_C ,count(YuE_Change) as YuE_B  from Record_XF  where left(date_Time,7)>='2026-10' and left(date_Time,7)<='2026-11' and XF_Type in(9,10)
select sum(YuE_change) as YuE_C ,count(YuE_Change) as YuE_B  from Record_XF  where left(date_Time,7)>='2026-10' and left(date_Time,7)<='2026-11' and XF_Type=175
select sum(YuCi_change) as YuCi_C ,count(YuCi_Change) as YuCi_B  from Record_XF  where left(date_Time,7)>='2026-10' and left(date_Time,7)<='2026-11' and XF_Type=177
select sum(YuE_change) as YuE_C ,count(YuE_Change) as YuE_B  from Record_XF  where left(date_Time,7)>='2026-10' and left(date_Time,7)<='2026-11' and XF_Type=166
select sum(YuCi_change) as YuCi_C ,count(YuCi_Change) as YuCi_B  from Record_XF  where left(date_Time,7)>='2026-10' and left(date_Time,7)<='2026-11' and XF_Type=168
select sum(YuE_change) as YuE_C ,count(YuE_Change) as YuE_B  from Record_XF  where left(date_Time,7)>='2026-10' and left(date_Time,7)<='2026-11' and XF_Type in(1,2) and XF_Meal=1
select sum(YuCi_change) as YuCi_C ,count(YuCi_Change) as YuCi_B  from Record_XF  where left(date_Time,7)>='2026-10' and left(date_Time,7)<='2026-11' and XF_Type=3 and XF_Meal=1
select sum(YuE_change) as YuE_C ,count(YuE_Change) as YuE_B  from Record_XF  where left(date_Time,7)>='2026-10' and left(date_Time,7)<='2026-11' and XF_Type in(1,2) and XF_Meal=2
select sum(YuCi_change) as YuCi_C ,count(YuCi_Change) as YuCi_B  from Record_XF  where left(date_Time,7)>='2026-10' and left(date_Time,7)<='2026-11' and XF_Type=3 and XF_Meal=2
select sum(YuE_change) as YuE_C ,count(YuE_Change) as YuE_B  from Record_XF  where left(date_Time,7)>='2026-10' and left(date_Time,7)<='2026-11' and XF_Type in(1,2) and XF_Meal=3
select sum(YuCi_change) as YuCi_C ,count(YuCi_Change) as YuCi_B  from Record_XF  where left(date_Time,7)>='2026-10' and left(date_Time,7)<='2026-11' and XF_Type=3 and XF_Meal=3
select sum(YuE_change) as YuE_C ,count(YuE_Change) as YuE_B  from Record_XF  where left(date_Time,7)>='2026-10' and left(date_Time,7)<='2026-11' and XF_Type in(1,2) and XF_Meal=4
select sum(YuCi_change) as YuCi_C ,count(YuCi_Change) as YuCi_B  from Record_XF  where left(date_Time,7)>='2026-10' and left(date_Time,7)<='2026-11' and XF_Type=3 and XF_Meal=4
select sum(YuE_change) as YuE_C ,count(YuE_Change) as YuE_B  from Record_XF  where left(date_Time,7)>='2026-10' and left(date_Time,7)<='2026-11' and XF_Type in(1,2) and XF_Meal=5
select sum(YuCi_change) as YuCi_C ,count(YuCi_Change) as YuCi_B  from Record_XF  where left(date_Time,7)>='2026-10' and left(date_Time,7)<='2026-11' and XF_Type=3 and XF_Meal=5
select sum(YuE_change) as YuE_C ,count(YuE_Change) as YuE_B  from Record_XF  where left(date_Time,7)>='2026-10' and left(date_Time,7)<='2026-11' and XF_Type in(1,2,201,179)
select sum(YuCi_change) as YuCi_C ,count(YuCi_Change) as YuCi_B  from Record_XF  where left(date_Time,7)>='2026-10' and left(date_Time,7)<='2026-11' and XF_Type=3
select sum(YuE_change) as YuE_C ,count(YuE_Change) as YuE_B  from Record_XF  where left(date_Time,7)>='2026-10' and left(date_Time,7)<='2026-11' and XF_Type in(17,181)
select sum(YuE_change) as YuE_C ,count(YuE_Change) as YuE_B  from Record_XF  where Mach_ID=1  and left(date_Time,7)>='2026-10' and left(date_Time,7)<='2026-11' and XF_Type in(161,202,169,170,174,129)
select sum(YuCi_change) as YuCi_C ,count(YuCi_Change) as YuCi_B  from Record_XF  where Mach_ID=1  and left(date_Time,7)>='2026-10' and left(date_Time,7)<='2026-11' and XF_Type in (163,171,172)
select sum(YuE_change) as YuE_C ,count(YuE_Change) as YuE_B  from Record_XF  where Mach_ID=1  and left(date_Time,7)>='2026-10' and left(date_Time,7)<='2026-11' and XF_Type in(5,6)
select sum(YuCi_change) as YuCi_C ,count(YuCi_Change) as YuCi_B  from Record_XF  where Mach_ID=1  and left(date_Time,7)>='2026-10' and left(date_Time,7)<='2026-11' and XF_Type in(7,8)
select sum(YuE_change) as YuE_C ,count(YuE_Change) as YuE_B  from Record_XF  where Mach_ID=1  and left(date_Time,7)>='2026-10' and left(date_Time,7)<='2026-11' and XF_Type=11
select sum(YuE_change) as YuE_C ,count(YuE_Change) as YuE_B  from Record_XF  where Mach_ID=1  and left(date_Time,7)>='2026-10' and left(date_Time,7)<='2026-11' and XF_Type in(173,174)
select sum(YuCi_change) as YuCi_C ,count(YuCi_Change) as YuCi_B  from Record_XF  where Mach_ID=1  and left(date_Time,7)>='2026-10' and left(date_Time,7)<='2026-11' and XF_Type=13
select sum(YuE_change) as YuE_C ,count(YuE_Change) as YuE_B  from Record_XF  where Mach_ID=1  and left(date_Time,7)>='2026-10' and left(date_Time,7)<='2026-11' and XF_Type=162
select sum(YuE_change) as YuE_C ,count(YuE_Change) as YuE_B  from Record_XF  where Mach_ID=1  and left(date_Time,7)>='2026-10' and left(date_Time,7)<='2026-11' and XF_Type in(9,10)
select sum(YuE_change) as YuE_C ,count(YuE_Change) as YuE_B  from Record_XF  where Mach_ID=1  and left(date_Time,7)>='2026-10' and left(date_Time,7)<='2026-11' and XF_Type=175
select sum(YuCi_change) as YuCi_C ,count(YuCi_Change) as YuCi_B  from Record_XF  where Mach_ID=1  and left(date_Time,7)>='2026-10' and left(date_Time,7)<='2026-11' and XF_Type=177
select sum(YuE_change) as YuE_C ,count(YuE_Change) as YuE_B  from Record_XF  where Mach_ID=1  and left(date_Time,7)>='2026-10' and left(date_Time,7)<='2026-11' and XF_Type=166
select sum(YuCi_change) as YuCi_C ,count(YuCi_Change) as YuCi_B  from Record_XF  where Mach_ID=1  and left(date_Time,7)>='2026-10' and left(date_Time,7)<='2026-11' and XF_Type=168
select sum(YuE_change) as YuE_C ,count(YuE_Change) as YuE_B  from Record_XF  where Mach_ID=1  and left(date_Time,7)>='2026-10' and left(date_Time,7)<='2026-11' and XF_Type in(1,2) and XF_Meal=1
select sum(YuCi_change) as YuCi_C ,count(YuCi_Change) as YuCi_B  from Record_XF  where Mach_ID=1  and left(date_Time,7)>='2026-10' and left(date_Time,7)<='2026-11' and XF_Type=3 and XF_Meal=1
select sum(YuE_change) as YuE_C ,count(YuE_Change) as YuE_B  from Record_XF  where Mach_ID=1  and left(date_Time,7)>='2026-10' and left(date_Time,7)<='2026-11' and XF_Type in(1,2) and XF_Meal=2
select sum(YuCi_change) as YuCi_C ,count(YuCi_Change) as YuCi_B  from Record_XF  where Mach_ID=1  and left(date_Time,7)>='2026-10' and left(date_Time,7)<='2026-11' and XF_Type=3 and XF_Meal=2
select sum(YuE_change) as YuE_C ,count(YuE_Change) as YuE_B  from Record_XF  where Mach_ID=1  and left(date_Time,7)>='2026-10' and left(date_Time,7)<='2026-11' and XF_Type in(1,2) and XF_Meal=3
select sum(YuCi_change) as YuCi_C ,count(YuCi_Change) as YuCi_B  from Record_XF  where Mach_ID=1  and left(date_Time,7)>='2026-10' and left(date_Time,7)<='2026-11' and XF_Type=3 and XF_Meal=3
select sum(YuE_change) as YuE_C ,count(YuE_Change) as YuE_B  from Record_XF  where Mach_ID=1  and left(date_Time,7)>='2026-10' and left(date_Time,7)<='2026-11' and XF_Type in(1,2) and XF_Meal=4
select sum(YuCi_change) as YuCi_C ,count(YuCi_Change) as YuCi_B  from Record_XF  where Mach_ID=1  and left(date_Time,7)>='2026-10' and left(date_Time,7)<='2026-11' and XF_Type=3 and XF_Meal=4
select sum(YuE_change) as YuE_C ,count(YuE_Change) as YuE_B  from Record_XF  where Mach_ID=1  and left(date_Time,7)>='2026-10' and left(date_Time,7)<='2026-11' and XF_Type in(1,2) and XF_Meal=5
select sum(YuCi_change) as YuCi_C ,count(YuCi_Change) as YuCi_B  from Record_XF  where Mach_ID=1  and left(date_Time,7)>='2026-10' and left(date_Time,7)<='2026-11' and XF_Type=3 and XF_Meal=5
select sum(YuE_change) as YuE_C ,count(YuE_Change) as YuE_B  from Record_XF  where Mach_ID=1  and left(date_Time,7)>='2026-10' and left(date_Time,7)<='2026-11' and XF_Type in(1,2,201,179)
select sum(YuCi_change) as YuCi_C ,count(YuCi_Change) as YuCi_B  from Record_XF  where Mach_ID=1  and left(date_Time,7)>='2026-10' and left(date_Time,7)<='2026-11' and XF_Type=3
select sum(YuE_change) as YuE_C ,count(YuE_Change) as YuE_B  from Record_XF  where Mach_ID=1  and left(date_Time,7)>='2026-10' and left(date_Time,7)<='2026-11' and XF_Type in(17,181)
select sum(YuE_change) as YuE_C ,count(YuE_Change) as YuE_B  from Record_XF  where Mach_ID=1  and left(Date_Time,7)='2026-10' and XF_Type in(161,202,169,170,174,129)
select sum(YuCi_change) as YuCi_C ,count(YuCi_Change) as YuCi_B  from Record_XF  where Mach_ID=1  and left(Date_Time,7)='2026-10' and XF_Type in (163,171,172)
select sum(YuE_change) as YuE_C ,count(YuE_Change) as YuE_B  from Record_XF  where Mach_ID=1  and left(Date_Time,7)='2026-10' and XF_Type in(5,6)
select sum(YuCi_change) as YuCi_C ,count(YuCi_Change) as YuCi_B  from Record_XF  where Mach_ID=1  and left(Date_Time,7)='2026-10' and XF_Type in(7,8)
select sum(YuE_change) as YuE_C ,count(YuE_Change) as YuE_B  from Record_XF  where Mach_ID=1  and left(Date_Time,7)='2026-10' and XF_Type=11
select sum(YuE_change) as YuE_C ,count(YuE_Change) as YuE_B  from Record_XF  where Mach_ID=1  and left(Date_Time,7)='2026-10' and XF_Type in(173,174)
select sum(YuCi_change) as YuCi_C ,count(YuCi_Change) as YuCi_B  from Record_XF  where Mach_ID=1  and left(Date_Time,7)='2026-10' and XF_Type=13
select sum(YuE_change) as YuE_C ,count(YuE_Change) as YuE_B  from Record_XF  where Mach_ID=1  and left(Date_Time,7)='2026-10' and XF_Type=162
select sum(YuE_change) as YuE_C ,count(YuE_Change) as YuE_B  from Record_XF  where Mach_ID=1  and left(Date_Time,7)='2026-10' and XF_Type in(9,10)
select sum(YuE_change) as YuE_C ,count(YuE_Change) as YuE_B  from Record_XF  where Mach_ID=1  and left(Date_Time,7)='2026-10' and XF_Type=175
select sum(YuCi_change) as YuCi_C ,count(YuCi_Change) as YuCi_B  from Record_XF  where Mach_ID=1  and left(Date_Time,7)='2026-10' and XF_Type=177
select sum(YuE_change) as YuE_C ,count(YuE_Change) as YuE_B  from Record_XF  where Mach_ID=1  and left(Date_Time,7)='2026-10' and XF_Type=166
select sum(YuCi_change) as YuCi_C ,count(YuCi_Change) as YuCi_B  from Record_XF  where Mach_ID=1  and left(Date_Time,7)='2026-10' and XF_Type=168
select sum(YuE_change) as YuE_C ,count(YuE_Change) as YuE_B  from Record_XF  where Mach_ID=1  and left(Date_Time,7)='2026-10' and XF_Type in(1,2) and XF_Meal=1
select sum(YuCi_change) as YuCi_C ,count(YuCi_Change) as YuCi_B  from Record_XF  where Mach_ID=1  and left(Date_Time,7)='2026-10' and XF_Type=3 and XF_Meal=1
select sum(YuE_change) as YuE_C ,count(YuE_Change) as YuE_B  from Record_XF  where Mach_ID=1  and left(Date_Time,7)='2026-10' and XF_Type in(1,2) and XF_Meal=2
select sum(YuCi_change) as YuCi_C ,count(YuCi_Change) as YuCi_B  from Record_XF  where Mach_ID=1  and left(Date_Time,7)='2026-10' and XF_Type=3 and XF_Meal=2
select sum(YuE_change) as YuE_C ,count(YuE_Change) as YuE_B  from Record_XF  where Mach_ID=1  and left(Date_Time,7)='2026-10' and XF_Type in(1,2) and XF_Meal=3
select sum(YuCi_change) as YuCi_C ,count(YuCi_Change) as YuCi_B  from Record_XF  where Mach_ID=1  and left(Date_Time,7)='2026-10' and XF_Type=3 and XF_Meal=3
select sum(YuE_change) as YuE_C ,count(YuE_Change) as YuE_B  from Record_XF  where Mach_ID=1  and left(Date_Time,7)='2026-10' and XF_Type in(1,2) and XF_Meal=4
select sum(YuCi_change) as YuCi_C ,count(YuCi_Change) as YuCi_B  from Record_XF  where Mach_ID=1  and left(Date_Time,7)='2026-10' and XF_Type=3 and XF_Meal=4
select sum(YuE_change) as YuE_C ,count(YuE_Change) as YuE_B  from Record_XF  where Mach_ID=1  and left(Date_Time,7)='2026-10' and XF_Type in(1,2) and XF_Meal=5
select sum(YuCi_change) as YuCi_C ,count(YuCi_Change) as YuCi_B  from Record_XF  where Mach_ID=1  and left(Date_Time,7)='2026-10' and XF_Type=3 and XF_Meal=5
select sum(YuE_change) as YuE_C ,count(YuE_Change) as YuE_B  from Record_XF  where Mach_ID=1  and left(Date_Time,7)='2026-10' and XF_Type in(1,2,201,179)
select sum(YuCi_change) as YuCi_C ,count(YuCi_Change) as YuCi_B  from Record_XF  where Mach_ID=1  and left(Date_Time,7)='2026-10' and XF_Type=3
select sum(YuE_change) as YuE_C ,count(YuE_Change) as YuE_B  from Record_XF  where Mach_ID=1  and left(Date_Time,7)='2026-10' and XF_Type in(17,181)
select sum(YuE_Change) as YuE_C,count(YuE_Change) as Count_Bi  from Record_XF  where XF_Type in(1,2,201,179) and Mach_ID=1  and left(Date_Time,7)='2026-10' 
select sum(YuCi_Change) as YuCi_C,count(YuCi_Change) as Count_Ci_Bi from Record_XF  where XF_Type=3 and Mach_ID=1  and left(Date_Time,7)='2026-10' 
select sum(YuE_Change) as YuE_C,count(YuE_Change) as Count_Bi  from Record_XF  where XF_Type in(1,2) and XF_Meal=1 and Mach_ID=1  and left(Date_Time,7)='2026-10' 
select sum(YuCi_Change) as YuCi_C,count(YuCi_Change) as Count_Ci_Bi from Record_XF  where  XF_Meal=1 and XF_Type=3 and Mach_ID=1  and left(Date_Time,7)='2026-10' 
select sum(YuE_Change) as YuE_C,count(YuE_Change) as Count_Bi  from Record_XF  where XF_Type in(1,2) and XF_Meal=2 and Mach_ID=1  and left(Date_Time,7)='2026-10' 
select sum(YuCi_Change) as YuCi_C,count(YuCi_Change) as Count_Ci_Bi from Record_XF  where XF_Meal=2 and XF_Type=3 and Mach_ID=1  and left(Date_Time,7)='2026-10' 
select sum(YuE_Change) as YuE_C,count(YuE_Change) as Count_Bi  from Record_XF  where XF_Type in(1,2) and XF_Meal=3 and Mach_ID=1  and left(Date_Time,7)='2026-10' 
select sum(YuCi_Change) as YuCi_C,count(YuCi_Change) as Count_Ci_Bi from Record_XF  where XF_Meal=3 and XF_Type=3 and Mach_ID=1  and left(Date_Time,7)='2026-10' 
select sum(YuE_Change) as YuE_C,count(YuE_Change) as Count_Bi  from Record_XF  where XF_Type in(1,2) and XF_Meal=4 and Mach_ID=1  and left(Date_Time,7)='2026-10' 
select sum(YuCi_Change) as YuCi_C,count(YuCi_Change) as Count_Ci_Bi from Record_XF  where XF_Meal=4 and XF_Type=3 and Mach_ID=1  and left(Date_Time,7)='2026-10' 
select sum(YuE_Change) as YuE_C,count(YuE_Change) as Count_Bi  from Record_XF  where XF_Type in(1,2) and XF_Meal=5 and Mach_ID=1  and left(Date_Time,7)='2026-10' 
select sum(YuCi_Change) as YuCi_C,count(YuCi_Change) as Count_Ci_Bi from Record_XF  where XF_Meal=5 and XF_Type=3 and Mach_ID=1  and left(Date_Time,7)='2026-10' 
select sum(YuE_change) as YuE_C ,count(YuE_Change) as YuE_B  from Record_XF  where Mach_ID=1  and left(Date_Time,7)='2026-11' and XF_Type in(161,202,169,170,174,129)
select sum(YuCi_change) as YuCi_C ,count(YuCi_Change) as YuCi_B  from Record_XF  where Mach_ID=1  and left(Date_Time,7)='2026-11' and XF_Type in (163,171,172)
select sum(YuE_change) as YuE_C ,count(YuE_Change) as YuE_B  from Record_XF  where Mach_ID=1  and left(Date_Time,7)='2026-11' and XF_Type in(5,6)
select sum(YuCi_change) as YuCi_C ,count(YuCi_Change) as YuCi_B  from Record_XF  where Mach_ID=1  and left(Date_Time,7)='2026-11' and XF_Type in(7,8)
select sum(YuE_change) as YuE_C ,count(YuE_Change) as YuE_B  from Record_XF  where Mach_ID=1  and left(Date_Time,7)='2026-11' and XF_Type=11
select sum(YuE_change) as YuE_C ,count(YuE_Change) as YuE_B  from Record_XF  where Mach_ID=1  and left(Date_Time,7)='2026-11' and XF_Type in(173,174)
select sum(YuCi_change) as YuCi_C ,count(YuCi_Change) as YuCi_B  from Record_XF  where Mach_ID=1  and left(Date_Time,7)='2026-11' and XF_Type=13
select sum(YuE_change) as YuE_C ,count(YuE_Change) as YuE_B  from Record_XF  where Mach_ID=1  and left(Date_Time,7)='2026-11' and XF_Type=162
select sum(YuE_change) as YuE_C ,count(YuE_Change) as YuE_B  from Record_XF  where Mach_ID=1  and left(Date_Time,7)='2026-11' and XF_Type in(9,10)
select sum(YuE_change) as YuE_C ,count(YuE_Change) as YuE_B  from Record_XF  where Mach_ID=1  and left(Date_Time,7)='2026-11' and XF_Type=175
select sum(YuCi_change) as YuCi_C ,count(YuCi_Change) as YuCi_B  from Record_XF  where Mach_ID=1  and left(Date_Time,7)='2026-11' and XF_Type=177
select sum(YuE_change) as YuE_C ,count(YuE_Change) as YuE_B  from Record_XF  where Mach_ID=1  and left(Date_Time,7)='2026-11' and XF_Type=166
select sum(YuCi_change) as YuCi_C ,count(YuCi_Change) as YuCi_B  from Record_XF  where Mach_ID=1  and left(Date_Time,7)='2026-11' and XF_Type=168
select sum(YuE_change) as YuE_C ,count(YuE_Change) as YuE_B  from Record_XF  where Mach_ID=1  and left(Date_Time,7)='2026-11' and XF_Type in(1,2) and XF_Meal=1
select sum(YuCi_change) as YuCi_C ,count(YuCi_Change) as YuCi_B  from Record_XF  where Mach_ID=1  and left(Date_Time,7)='2026-11' and XF_Type=3 and XF_Meal=1
select sum(YuE_change) as YuE_C ,count(YuE_Change) as YuE_B  from Record_XF  where Mach_ID=1  and left(Date_Time,7)='2026-11' and XF_Type in(1,2) and XF_Meal=2
select sum(YuCi_change) as YuCi_C ,count(YuCi_Change) as YuCi_B  from Record_XF  where Mach_ID=1  and left(Date_Time,7)='2026-11' and XF_Type=3 and XF_Meal=2
select sum(YuE_change) as YuE_C ,count(YuE_Change) as YuE_B  from Record_XF  where Mach_ID=1  and left(Date_Time,7)='2026-11' and XF_Type in(1,2) and XF_Meal=3
select sum(YuCi_change) as YuCi_C ,count(YuCi_Change) as YuCi_B  from Record_XF  where Mach_ID=1  and left(Date_Time,7)='2026-11' and XF_Type=3 and XF_Meal=3
select sum(YuE_change) as YuE_C ,count(YuE_Change) as YuE_B  from Record_XF  where Mach_ID=1  and left(Date_Time,7)='2026-11' and XF_Type in(1,2) and XF_Meal=4
select sum(YuCi_change) as YuCi_C ,count(YuCi_Change) as YuCi_B  from Record_XF  where Mach_ID=1  and left(Date_Time,7)='2026-11' and XF_Type=3 and XF_Meal=4
select sum(YuE_change) as YuE_C ,count(YuE_Change) as YuE_B  from Record_XF  where Mach_ID=1  and left(Date_Time,7)='2026-11' and XF_Type in(1,2) and XF_Meal=5
select sum(YuCi_change) as YuCi_C ,count(YuCi_Change) as YuCi_B  from Record_XF  where Mach_ID=1  and left(Date_Time,7)='2026-11' and XF_Type=3 and XF_Meal=5
select sum(YuE_change) as YuE_C ,count(YuE_Change) as YuE_B  from Record_XF  where Mach_ID=1  and left(Date_Time,7)='2026-11' and XF_Type in(1,2,201,179)
select sum(YuCi_change) as YuCi_C ,count(YuCi_Change) as YuCi_B  from Record_XF  where Mach_ID=1  and left(Date_Time,7)='2026-11' and XF_Type=3
select sum(YuE_change) as YuE_C ,count(YuE_Change) as YuE_B  from Record_XF  where Mach_ID=1  and left(Date_Time,7)='2026-11' and XF_Type in(17,181)
select sum(YuE_Change) as YuE_C,count(YuE_Change) as Count_Bi  from Record_XF  where XF_Type in(1,2,201,179) and Mach_ID=1  and left(Date_Time,7)='2026-11' 
select sum(YuCi_Change) as YuCi_C,count(YuCi_Change) as Count_Ci_Bi from Record_XF  where XF_Type=3 and Mach_ID=1  and left(Date_Time,7)='2026-11' 
select sum(YuE_Change) as YuE_C,count(YuE_Change) as Count_Bi  from Record_XF  where XF_Type in(1,2) and XF_Meal=1 and Mach_ID=1  and left(Date_Time,7)='2026-11' 
select sum(YuCi_Change) as YuCi_C,count(YuCi_Change) as Count_Ci_Bi from Record_XF  where  XF_Meal=1 and XF_Type=3 and Mach_ID=1  and left(Date_Time,7)='2026-11' 
select sum(YuE_Change) as YuE_C,count(YuE_Change) as Count_Bi  from Record_XF  where XF_Type in(1,2) and XF_Meal=2 and Mach_ID=1  and left(Date_Time,7)='2026-11' 
select sum(YuCi_Change) as YuCi_C,count(YuCi_Change) as Count_Ci_Bi from Record_XF  where XF_Meal=2 and XF_Type=3 and Mach_ID=1  and left(Date_Time,7)='2026-11' 
select sum(YuE_Change) as YuE_C,count(YuE_Change) as Count_Bi  from Record_XF  where XF_Type in(1,2) and XF_Meal=3 and Mach_ID=1  and left(Date_Time,7)='2026-11' 
select sum(YuCi_Change) as YuCi_C,count(YuCi_Change) as Count_Ci_Bi from Record_XF  where XF_Meal=3 and XF_Type=3 and Mach_ID=1  and left(Date_Time,7)='2026-11' 
select sum(YuE_Change) as YuE_C,count(YuE_Change) as Count_Bi  from Record_XF  where XF_Type in(1,2) and XF_Meal=4 and Mach_ID=1  and left(Date_Time,7)='2026-11' 
select sum(YuCi_Change) as YuCi_C,count(YuCi_Change) as Count_Ci_Bi from Record_XF  where XF_Meal=4 and XF_Type=3 and Mach_ID=1  and left(Date_Time,7)='2026-11' 
select sum(YuE_Change) as YuE_C,count(YuE_Change) as Count_Bi  from Record_XF  where XF_Type in(1,2) and XF_Meal=5 and Mach_ID=1  and left(Date_Time,7)='2026-11' 
select sum(YuCi_Change) as YuCi_C,count(YuCi_Change) as Count_Ci_Bi from Record_XF  where XF_Meal=5 and XF_Type=3 and Mach_ID=1  and left(Date_Time,7)='2026-11' 
select sum(YuE_change) as YuE_C ,count(YuE_Change) as YuE_B  from Record_XF  where Mach_ID=2  and left(date_Time,7)>='2026-10' and left(date_Time,7)<='2026-11' and XF_Type in(161,202,169,170,174,129)
select sum(YuCi_change) as YuCi_C ,count(YuCi_Change) as YuCi_B  from Record_XF  where Mach_ID=2  and left(date_Time,7)>='2026-10' and left(date_Time,7)<='2026-11' and XF_Type in (163,171,172)
select sum(YuE_change) as YuE_C ,count(YuE_Change) as YuE_B  from Record_XF  where Mach_ID=2  and left(date_Time,7)>='2026-10' and left(date_Time,7)<='2026-11' and XF_Type in(5,6)
select sum(YuCi_change) as YuCi_C ,count(YuCi_Change) as YuCi_B  from Record_XF  where Mach_ID=2  and left(date_Time,7)>='2026-10' and left(date_Time,7)<='2026-11' and XF_Type in(7,8)
select sum(YuE_change) as YuE_C ,count(YuE_Change) as YuE_B  from Record_XF  where Mach_ID=2  and left(date_Time,7)>='2026-10' and left(date_Time,7)<='2026-11' and XF_Type=11
select sum(YuE_change) as YuE_C ,count(YuE_Change) as YuE_B  from Record_XF  where Mach_ID=2  and left(date_Time,7)>='2026-10' and left(date_Time,7)<='2026-11' and XF_Type in(173,174)
select sum(YuCi_change) as YuCi_C ,count(YuCi_Change) as YuCi_B  from Record_XF  where Mach_ID=2  and left(date_Time,7)>='2026-10' and left(date_Time,7)<='2026-11' and XF_Type=13
select sum(YuE_change) as YuE_C ,count(YuE_Change) as YuE_B  from Record_XF  where Mach_ID=2  and left(date_Time,7)>='2026-10' and left(date_Time,7)<='2026-11' and XF_Type=162
select sum(YuE_change) as YuE_C ,count(YuE_Change) as YuE_B  from Record_XF  where Mach_ID=2  and left(date_Time,7)>='2026-10' and left(date_Time,7)<='2026-11' and XF_Type in(9,10)
select sum(YuE_change) as YuE_C ,count(YuE_Change) as YuE_B  from Record_XF  where Mach_ID=2  and left(date_Time,7)>='2026-10' and left(date_Time,7)<='2026-11' and XF_Type=175
select sum(YuCi_change) as YuCi_C ,count(YuCi_Change) as YuCi_B  from Record_XF  where Mach_ID=2  and left(date_Time,7)>='2026-10' and left(date_Time,7)<='2026-11' and XF_Type=177
select sum(YuE_change) as YuE_C ,count(YuE_Change) as YuE_B  from Record_XF  where Mach_ID=2  and left(date_Time,7)>='2026-10' and left(date_Time,7)<='2026-11' and XF_Type=166
select sum(YuCi_change) as YuCi_C ,count(YuCi_Change) as YuCi_B  from Record_XF  where Mach_ID=2  and left(date_Time,7)>='2026-10' and left(date_Time,7)<='2026-11' and XF_Type=168
select sum(YuE_change) as YuE_C ,count(YuE_Change) as YuE_B  from Record_XF  where Mach_ID=2  and left(date_Time,7)>='2026-10' and left(date_Time,7)<='2026-11' and XF_Type in(1,2) and XF_Meal=1
select sum(YuCi_change) as YuCi_C ,count(YuCi_Change) as YuCi_B  from Record_XF  where Mach_ID=2  and left(date_Time,7)>='2026-10' and left(date_Time,7)<='2026-11' and XF_Type=3 and XF_Meal=1
select sum(YuE_change) as YuE_C ,count(YuE_Change) as YuE_B  from Record_XF  where Mach_ID=2  and left(date_Time,7)>='2026-10' and left(date_Time,7)<='2026-11' and XF_Type in(1,2) and XF_Meal=2
select sum(YuCi_change) as YuCi_C ,count(YuCi_Change) as YuCi_B  from Record_XF  where Mach_ID=2  and left(date_Time,7)>='2026-10' and left(date_Time,7)<='2026-11' and XF_Type=3 and XF_Meal=2
select sum(YuE_change) as YuE_C ,count(YuE_Change) as YuE_B  from Record_XF  where Mach_ID=2  and left(date_Time,7)>='2026-10' and left(date_Time,7)<='2026-11' and XF_Type in(1,2) and XF_Meal=3
select sum(YuCi_change) as YuCi_C ,count(YuCi_Change) as YuCi_B  from Record_XF  where Mach_ID=2  and left(date_Time,7)>='2026-10' and left(date_Time,7)<='2026-11' and XF_Type=3 and XF_Meal=3
select sum(YuE_change) as YuE_C ,count(YuE_Change) as YuE_B  from Record_XF  where Mach_ID=2  and left(date_Time,7)>='2026-10' and left(date_Time,7)<='2026-11' and XF_Type in(1,2) and XF_Meal=4
select sum(YuCi_change) as YuCi_C ,count(YuCi_Change) as YuCi_B  from Record_XF  where Mach_ID=2  and left(date_Time,7)>='2026-10' and left(date_Time,7)<='2026-11' and XF_Type=3 and XF_Meal=4
select sum(YuE_change) as YuE_C ,count(YuE_Change) as YuE_B  from Record_XF  where Mach_ID=2  and left(date_Time,7)>='2026-10' and left(date_Time,7)<='2026-11' and XF_Type in(1,2) and XF_Meal=5
select sum(YuCi_change) as YuCi_C ,count(YuCi_Change) as YuCi_B  from Record_XF  where Mach_ID=2  and left(date_Time,7)>='2026-10' and left(date_Time,7)<='2026-11' and XF_Type=3 and XF_Meal=5
select sum(YuE_change) as YuE_C ,count(YuE_Change) as YuE_B  from Record_XF  where Mach_ID=2  and left(date_Time,7)>='2026-10' and left(date_Time,7)<='2026-11' and XF_Type in(1,2,201,179)
select sum(YuCi_change) as YuCi_C ,count(YuCi_Change) as YuCi_B  from Record_XF  where Mach_ID=2  and left(date_Time,7)>='2026-10' and left(date_Time,7)<='2026-11' and XF_Type=3
select sum(YuE_change) as YuE_C ,count(YuE_Change) as YuE_B  from Record_XF  where Mach_ID=2  and left(date_Time,7)>='2026-10' and left(date_Time,7)<='2026-11' and XF_Type in(17,181)
select sum(YuE_change) as YuE_C ,count(YuE_Change) as YuE_B  from Record_XF  where Mach_ID=2  and left(Date_Time,7)='2026-10' and XF_Type in(161,202,169,170,174,129)
select sum(YuCi_change) as YuCi_C ,count(YuCi_Change) as YuCi_B  from Record_XF  where Mach_ID=2  and left(Date_Time,7)='2026-10' and XF_Type in (163,171,172)
select sum(YuE_change) as YuE_C ,count(YuE_Change) as YuE_B  from Record_XF  where Mach_ID=2  and left(Date_Time,7)='2026-10' and XF_Type in(5,6)
select sum(YuCi_change) as YuCi_C ,count(YuCi_Change) as YuCi_B  from Record_XF  where Mach_ID=2  and left(Date_Time,7)='2026-10' and XF_Type in(7,8)
select sum(YuE_change) as YuE_C ,count(YuE_Change) as YuE_B  from Record_XF  where Mach_ID=2  and left(Date_Time,7)='2026-10' and XF_Type=11
select sum(YuE_change) as YuE_C ,count(YuE_Change) as YuE_B  from Record_XF  where Mach_ID=2  and left(Date_Time,7)='2026-10' and XF_Type in(173,174)
select sum(YuCi_change) as YuCi_C ,count(YuCi_Change) as YuCi_B  from Record_XF  where Mach_ID=2  and left(Date_Time,7)='2026-10' and XF_Type=13
select sum(YuE_change) as YuE_C ,count(YuE_Change) as YuE_B  from Record_XF  where Mach_ID=2  and left(Date_Time,7)='2026-10' and XF_Type=162
select sum(YuE_change) as YuE_C ,count(YuE_Change) as YuE_B  from Record_XF  where Mach_ID=2  and left(Date_Time,7)='2026-10' and XF_Type in(9,10)
select sum(YuE_change) as YuE_C ,count(YuE_Change) as YuE_B  from Record_XF  where Mach_ID=2  and left(Date_Time,7)='2026-10' and XF_Type=175
select sum(YuCi_change) as YuCi_C ,count(YuCi_Change) as YuCi_B  from Record_XF  where Mach_ID=2  and left(Date_Time,7)='2026-10' and XF_Type=177
select sum(YuE_change) as YuE_C ,count(YuE_Change) as YuE_B  from Record_XF  where Mach_ID=2  and left(Date_Time,7)='2026-10' and XF_Type=166
select sum(YuCi_change) as YuCi_C ,count(YuCi_Change) as YuCi_B  from Record_XF  where Mach_ID=2  and left(Date_Time,7)='2026-10' and XF_Type=168
select sum(YuE_change) as YuE_C ,count(YuE_Change) as YuE_B  from Record_XF  where Mach_ID=2  and left(Date_Time,7)='2026-10' and XF_Type in(1,2) and XF_Meal=1
select sum(YuCi_change) as YuCi_C ,count(YuCi_Change) as YuCi_B  from Record_XF  where Mach_ID=2  and left(Date_Time,7)='2026-10' and XF_Type=3 and XF_Meal=1
select sum(YuE_change) as YuE_C ,count(YuE_Change) as YuE_B  from Record_XF  where Mach_ID=2  and left(Date_Time,7)='2026-10' and XF_Type in(1,2) and XF_Meal=2
select sum(YuCi_change) as YuCi_C ,count(YuCi_Change) as YuCi_B  from Record_XF  where Mach_ID=2  and left(Date_Time,7)='2026-10' and XF_Type=3 and XF_Meal=2
select sum(YuE_change) as YuE_C ,count(YuE_Change) as YuE_B  from Record_XF  where Mach_ID=2  and left(Date_Time,7)='2026-10' and XF_Type in(1,2) and XF_Meal=3
select sum(YuCi_change) as YuCi_C ,count(YuCi_Change) as YuCi_B  from Record_XF  where Mach_ID=2  and left(Date_Time,7)='2026-10' and XF_Type=3 and XF_Meal=3
select sum(YuE_change) as YuE_C ,count(YuE_Change) as YuE_B  from Record_XF  where Mach_ID=2  and left(Date_Time,7)='2026-10' and XF_Type in(1,2) and XF_Meal=4
select sum(YuCi_change) as YuCi_C ,count(YuCi_Change) as YuCi_B  from Record_XF  where Mach_ID=2  and left(Date_Time,7)='2026-10' and XF_Type=3 and XF_Meal=4
select sum(YuE_change) as YuE_C ,count(YuE_Change) as YuE_B  from Record_XF  where Mach_ID=2  and left(Date_Time,7)='2026-10' and XF_Type in(1,2) and XF_Meal=5
select sum(YuCi_change) as YuCi_C ,count(YuCi_Change) as YuCi_B  from Record_XF  where Mach_ID=2  and left(Date_Time,7)='2026-10' and XF_Type=3 and XF_Meal=5
select sum(YuE_change) as YuE_C ,count(YuE_Change) as YuE_B  from Record_XF  where Mach_ID=2  and left(Date_Time,7)='2026-10' and XF_Type in(1,2,201,179)
select sum(YuCi_change) as YuCi_C ,count(YuCi_Change) as YuCi_B  from Record_XF  where Mach_ID=2  and left(Date_Time,7)='2026-10' and XF_Type=3
select sum(YuE_change) as YuE_C ,count(YuE_Change) as YuE_B  from Record_XF  where Mach_ID=2  and left(Date_Time,7)='2026-10' and XF_Type in(17,181)
select sum(YuE_Change) as YuE_C,count(YuE_Change) as Count_Bi  from Record_XF  where XF_Type in(1,2,201,179) and Mach_ID=2  and left(Date_Time,7)='2026-10' 
select sum(YuCi_Change) as YuCi_C,count(YuCi_Change) as Count_Ci_Bi from Record_XF  where XF_Type=3 and Mach_ID=2  and left(Date_Time,7)='2026-10' 
select sum(YuE_Change) as YuE_C,count(YuE_Change) as Count_Bi  from Record_XF  where XF_Type in(1,2) and XF_Meal=1 and Mach_ID=2  and left(Date_Time,7)='2026-10' 
select sum(YuCi_Change) as YuCi_C,count(YuCi_Change) as Count_Ci_Bi from Record_XF  where  XF_Meal=1 and XF_Type=3 and Mach_ID=2  and left(Date_Time,7)='2026-10' 
select sum(YuE_Change) as YuE_C,count(YuE_Change) as Count_Bi  from Record_XF  where XF_Type in(1,2) and XF_Meal=2 and Mach_ID=2  and left(Date_Time,7)='2026-10' 
select sum(YuCi_Change) as YuCi_C,count(YuCi_Change) as Count_Ci_Bi from Record_XF  where XF_Meal=2 and XF_Type=3 and Mach_ID=2  and left(Date_Time,7)='2026-10' 
select sum(YuE_Change) as YuE_C,count(YuE_Change) as Count_Bi  from Record_XF  where XF_Type in(1,2) and XF_Meal=3 and Mach_ID=2  and left(Date_Time,7)='2026-10' 
select sum(YuCi_Change) as YuCi_C,count(YuCi_Change) as Count_Ci_Bi from Record_XF  where XF_Meal=3 and XF_Type=3 and Mach_ID=2  and left(Date_Time,7)='2026-10' 
select sum(YuE_Change) as YuE_C,count(YuE_Change) as Count_Bi  from Record_XF  where XF_Type in(1,2) and XF_Meal=4 and Mach_ID=2  and left(Date_Time,7)='2026-10' 
select sum(YuCi_Change) as YuCi_C,count(YuCi_Change) as Count_Ci_Bi from Record_XF  where XF_Meal=4 and XF_Type=3 and Mach_ID=2  and left(Date_Time,7)='2026-10' 
select sum(YuE_change) as YuE_C ,count(YuE_Change) as YuE_B  from Record_XF  where Mach_ID=2  and left(Date_Time,7)='2026-11' and XF_Type in(161,202,169,170,174,129)
select sum(YuCi_change) as YuCi_C ,count(YuCi_Change) as YuCi_B  from Record_XF  where Mach_ID=2  and left(Date_Time,7)='2026-11' and XF_Type in (163,171,172)
select sum(YuE_change) as YuE_C ,count(YuE_Change) as YuE_B  from Record_XF  where Mach_ID=2  and left(Date_Time,7)='2026-11' and XF_Type in(5,6)
select sum(YuCi_change) as YuCi_C ,count(YuCi_Change) as YuCi_B  from Record_XF  where Mach_ID=2  and left(Date_Time,7)='2026-11' and XF_Type in(7,8)
select sum(YuE_change) as YuE_C ,count(YuE_Change) as YuE_B  from Record_XF  where Mach_ID=2  and left(Date_Time,7)='2026-11' and XF_Type=11
select sum(YuE_change) as YuE_C ,count(YuE_Change) as YuE_B  from Record_XF  where Mach_ID=2  and left(Date_Time,7)='2026-11' and XF_Type in(173,174)
select sum(YuCi_change) as YuCi_C ,count(YuCi_Change) as YuCi_B  from Record_XF  where Mach_ID=2  and left(Date_Time,7)='2026-11' and XF_Type=13
select sum(YuE_change) as YuE_C ,count(YuE_Change) as YuE_B  from Record_XF  where Mach_ID=2  and left(Date_Time,7)='2026-11' and XF_Type=162
select sum(YuE_change) as YuE_C ,count(YuE_Change) as YuE_B  from Record_XF  where Mach_ID=2  and left(Date_Time,7)='2026-11' and XF_Type in(9,10)
select sum(YuE_change) as YuE_C ,count(YuE_Change) as YuE_B  from Record_XF  where Mach_ID=2  and left(Date_Time,7)='2026-11' and XF_Type=175
select sum(YuCi_change) as YuCi_C ,count(YuCi_Change) as YuCi_B  from Record_XF  where Mach_ID=2  and left(Date_Time,7)='2026-11' and XF_Type=177
select sum(YuE_change) as YuE_C ,count(YuE_Change) as YuE_B  from Record_XF  where Mach_ID=2  and left(Date_Time,7)='2026-11' and XF_Type=166
select sum(YuCi_change) as YuCi_C ,count(YuCi_Change) as YuCi_B  from Record_XF  where Mach_ID=2  and left(Date_Time,7)='2026-11' and XF_Type=168
select sum(YuE_change) as YuE_C ,count(YuE_Change) as YuE_B  from Record_XF  where Mach_ID=2  and left(Date_Time,7)='2026-11' and XF_Type in(1,2) and XF_Meal=1
select sum(YuCi_change) as YuCi_C ,count(YuCi_Change) as YuCi_B  from Record_XF  where Mach_ID=2  and left(Date_Time,7)='2026-11' and XF_Type=3 and XF_Meal=1
select sum(YuE_change) as YuE_C ,count(YuE_Change) as YuE_B  from Record_XF  where Mach_ID=2  and left(Date_Time,7)='2026-11' and XF_Type in(1,2) and XF_Meal=2
select sum(YuCi_change) as YuCi_C ,count(YuCi_Change) as YuCi_B  from Record_XF  where Mach_ID=2  and left(Date_Time,7)='2026-11' and XF_Type=3 and XF_Meal=2
select sum(YuE_change) as YuE_C ,count(YuE_Change) as YuE_B  from Record_XF  where Mach_ID=2  and left(Date_Time,7)='2026-11' and XF_Type in(1,2) and XF_Meal=3
select sum(YuCi_change) as YuCi_C ,count(YuCi_Change) as YuCi_B  from Record_XF  where Mach_ID=2  and left(Date_Time,7)='2026-11' and XF_Type=3 and XF_Meal=3
select sum(YuE_change) as YuE_C ,count(YuE_Change) as YuE_B  from Record_XF  where Mach_ID=2  and left(Date_Time,7)='2026-11' and XF_Type in(1,2) and XF_Meal=4
select sum(YuCi_change) as YuCi_C ,count(YuCi_Change) as YuCi_B  from Record_XF  where Mach_ID=2  and left(Date_Time,7)='2026-11' and XF_Type=3 and XF_Meal=4
select sum(YuE_change) as YuE_C ,count(YuE_Change) as YuE_B  from Record_XF  where Mach_ID=2  and left(Date_Time,7)='2026-11' and XF_Type in(1,2) and XF_Meal=5
select sum(YuCi_change) as YuCi_C ,count(YuCi_Change) as YuCi_B  from Record_XF  where Mach_ID=2  and left(Date_Time,7)='2026-11' and XF_Type=3 and XF_Meal=5
select sum(YuE_change) as YuE_C ,count(YuE_Change) as YuE_B  from Record_XF  where Mach_ID=2  and left(Date_Time,7)='2026-11' and XF_Type in(1,2,201,179)
select sum(YuCi_change) as YuCi_C ,count(YuCi_Change) as YuCi_B  from Record_XF  where Mach_ID=2  and left(Date_Time,7)='2026-11' and XF_Type=3
select sum(YuE_change) as YuE_C ,count(YuE_Change) as YuE_B  from Record_XF  where Mach_ID=2  and left(Date_Time,7)='2026-11' and XF_Type in(17,181)
select sum(YuE_Change) as YuE_C,count(YuE_Change) as Count_Bi  from Record_XF  where XF_Type in(1,2,201,179) and Mach_ID=2  and left(Date_Time,7)='2026-11' 
select sum(YuCi_Change) as YuCi_C,count(YuCi_Change) as Count_Ci_Bi from Record_XF  where XF_Type=3 and Mach_ID=2  and left(Date_Time,7)='2026-11' 
select sum(YuE_Change) as YuE_C,count(YuE_Change) as Count_Bi  from Record_XF  where XF_Type in(1,2) and XF_Meal=1 and Mach_ID=2  and left(Date_Time,7)='2026-11' 
select sum(YuCi_Change) as YuCi_C,count(YuCi_Change) as Count_Ci_Bi from Record_XF  where  XF_Meal=1 and XF_Type=3 and Mach_ID=2  and left(Date_Time,7)='2026-11' 
select sum(YuE_Change) as YuE_C,count(YuE_Change) as Count_Bi  from Record_XF  where XF_Type in(1,2) and XF_Meal=2 and Mach_ID=2  and left(Date_Time,7)='2026-11' 
select sum(YuCi_Change) as YuCi_C,count(YuCi_Change) as Count_Ci_Bi from Record_XF  where XF_Meal=2 and XF_Type=3 and Mach_ID=2  and left(Date_Time,7)='2026-11' 
select sum(YuE_Change) as YuE_C,count(YuE_Change) as Count_Bi  from Record_XF  where XF_Type in(1,2) and XF_Meal=3 and Mach_ID=2  and left(Date_Time,7)='2026-11' 
select sum(YuCi_Change) as YuCi_C,count(YuCi_Change) as Count_Ci_Bi from Record_XF  where XF_Meal=3 and XF_Type=3 and Mach_ID=2  and left(Date_Time,7)='2026-11' 
select sum(YuE_Change) as YuE_C,count(YuE_Change) as Count_Bi  from Record_XF  where XF_Type in(1,2) and XF_Meal=4 and Mach_ID=2  and left(Date_Time,7)='2026-11' 
select sum(YuCi_Change) as YuCi_C,count(YuCi_Change) as Count_Ci_Bi from Record_XF  where XF_Meal=4 and XF_Type=3 and Mach_ID=2  and left(Date_Time,7)='2026-11' 
select sum(YuE_change) as YuE_C ,count(YuE_Change) as YuE_B  from Record_XF  where Mach_ID=3  and left(date_Time,7)>='2026-10' and left(date_Time,7)<='2026-11' and XF_Type in(161,202,169,170,174,129)
select sum(YuCi_change) as YuCi_C ,count(YuCi_Change) as YuCi_B  from Record_XF  where Mach_ID=3  and left(date_Time,7)>='2026-10' and left(date_Time,7)<='2026-11' and XF_Type in (163,171,172)
select sum(YuE_change) as YuE_C ,count(YuE_Change) as YuE_B  from Record_XF  where Mach_ID=3  and left(date_Time,7)>='2026-10' and left(date_Time,7)<='2026-11' and XF_Type in(5,6)
select sum(YuCi_change) as YuCi_C ,count(YuCi_Change) as YuCi_B  from Record_XF  where Mach_ID=3  and left(date_Time,7)>='2026-10' and left(date_Time,7)<='2026-11' and XF_Type in(7,8)
select sum(YuE_change) as YuE_C ,count(YuE_Change) as YuE_B  from Record_XF  where Mach_ID=3  and left(date_Time,7)>='2026-10' and left(date_Time,7)<='2026-11' and XF_Type=11
select sum(YuE_change) as YuE_C ,count(YuE_Change) as YuE_B  from Record_XF  where Mach_ID=3  and left(date_Time,7)>='2026-10' and left(date_Time,7)<='2026-11' and XF_Type in(173,174)
select sum(YuCi_change) as YuCi_C ,count(YuCi_Change) as YuCi_B  from Record_XF  where Mach_ID=3  and left(date_Time,7)>='2026-10' and left(date_Time,7)<='2026-11' and XF_Type=13
select sum(YuE_change) as YuE_C ,count(YuE_Change) as YuE_B  from Record_XF  where Mach_ID=3  and left(date_Time,7)>='2026-10' and left(date_Time,7)<='2026-11' and XF_Type=162
select sum(YuE_change) as YuE_C ,count(YuE_Change) as YuE_B  from Record_XF  where Mach_ID=3  and left(date_Time,7)>='2026-10' and left(date_Time,7)<='2026-11' and XF_Type in(9,10)
select sum(YuE_change) as YuE_C ,count(YuE_Change) as YuE_B  from Record_XF  where Mach_ID=3  and left(date_Time,7)>='2026-10' and left(date_Time,7)<='2026-11' and XF_Type=175
select sum(YuCi_change) as YuCi_C ,count(YuCi_Change) as YuCi_B  from Record_XF  where Mach_ID=3  and left(date_Time,7)>='2026-10' and left(date_Time,7)<='2026-11' and XF_Type=177
select sum(YuE_change) as YuE_C ,count(YuE_Change) as YuE_B  from Record_XF  where Mach_ID=3  and left(date_Time,7)>='2026-10' and left(date_Time,7)<='2026-11' and XF_Type=166
select sum(YuCi_change) as YuCi_C ,count(YuCi_Change) as YuCi_B  from Record_XF  where Mach_ID=3  and left(date_Time,7)>='2026-10' and left(date_Time,7)<='2026-11' and XF_Type=168
select sum(YuE_change) as YuE_C ,count(YuE_Change) as YuE_B  from Record_XF  where Mach_ID=3  and left(date_Time,7)>='2026-10' and left(date_Time,7)<='2026-11' and XF_Type in(1,2) and XF_Meal=1
select sum(YuCi_change) as YuCi_C ,count(YuCi_Change) as YuCi_B  from Record_XF  where Mach_ID=3  and left(date_Time,7)>='2026-10' and left(date_Time,7)<='2026-11' and XF_Type=3 and XF_Meal=1
select sum(YuE_change) as YuE_C ,count(YuE_Change) as YuE_B  from Record_XF  where Mach_ID=3  and left(date_Time,7)>='2026-10' and left(date_Time,7)<='2026-11' and XF_Type in(1,2) and XF_Meal=2
select sum(YuCi_change) as YuCi_C ,count(YuCi_Change) as YuCi_B  from Record_XF  where Mach_ID=3  and left(date_Time,7)>='2026-10' and left(date_Time,7)<='2026-11' and XF_Type=3 and XF_Meal=2
select sum(YuE_change) as YuE_C ,count(YuE_Change) as YuE_B  from Record_XF  where Mach_ID=3  and left(date_Time,7)>='2026-10' and left(date_Time,7)<='2026-11' and XF_Type in(1,2) and XF_Meal=3
select sum(YuCi_change) as YuCi_C ,count(YuCi_Change) as YuCi_B  from Record_XF  where Mach_ID=3  and left(date_Time,7)>='2026-10' and left(date_Time,7)<='2026-11' and XF_Type=3 and XF_Meal=3
select sum(YuE_change) as YuE_C ,count(YuE_Change) as YuE_B  from Record_XF  where Mach_ID=3  and left(date_Time,7)>='2026-10' and left(date_Time,7)<='2026-11' and XF_Type in(1,2) and XF_Meal=4
select sum(YuCi_change) as YuCi_C ,count(YuCi_Change) as YuCi_B  from Record_XF  where Mach_ID=3  and left(date_Time,7)>='2026-10' and left(date_Time,7)<='2026-11' and XF_Type=3 and XF_Meal=4
select sum(YuE_change) as YuE_C ,count(YuE_Change) as YuE_B  from Record_XF  where Mach_ID=3  and left(date_Time,7)>='2026-10' and left(date_Time,7)<='2026-11' and XF_Type in(1,2) and XF_Meal=5
select sum(YuCi_change) as YuCi_C ,count(YuCi_Change) as YuCi_B  from Record_XF  where Mach_ID=3  and left(date_Time,7)>='2026-10' and left(date_Time,7)<='2026-11' and XF_Type=3 and XF_Meal=5
select sum(YuE_change) as YuE_C ,count(YuE_Change) as YuE_B  from Record_XF  where Mach_ID=3  and left(date_Time,7)>='2026-10' and left(date_Time,7)<='2026-11' and XF_Type in(1,2,201,179)
select sum(YuCi_change) as YuCi_C ,count(YuCi_Change) as YuCi_B  from Record_XF  where Mach_ID=3  and left(date_Time,7)>='2026-10' and left(date_Time,7)<='2026-11' and XF_Type=3
select sum(YuE_change) as YuE_C ,count(YuE_Change) as YuE_B  from Record_XF  where Mach_ID=3  and left(date_Time,7)>='2026-10' and left(date_Time,7)<='2026-11' and XF_Type in(17,181)
select sum(YuE_change) as YuE_C ,count(YuE_Change) as YuE_B  from Record_XF  where Mach_ID=3  and left(Date_Time,7)='2026-10' and XF_Type in(161,202,169,170,174,129)
select sum(YuCi_change) as YuCi_C ,count(YuCi_Change) as YuCi_B  from Record_XF  where Mach_ID=3  and left(Date_Time,7)='2026-10' and XF_Type in (163,171,172)
select sum(YuE_change) as YuE_C ,count(YuE_Change) as YuE_B  from Record_XF  where Mach_ID=3  and left(Date_Time,7)='2026-10' and XF_Type in(5,6)
select sum(YuCi_change) as YuCi_C ,count(YuCi_Change) as YuCi_B  from Record_XF  where Mach_ID=3  and left(Date_Time,7)='2026-10' and XF_Type in(7,8)
select sum(YuE_change) as YuE_C ,count(YuE_Change) as YuE_B  from Record_XF  where Mach_ID=3  and left(Date_Time,7)='2026-10' and XF_Type=11
select sum(YuE_change) as YuE_C ,count(YuE_Change) as YuE_B  from Record_XF  where Mach_ID=3  and left(Date_Time,7)='2026-10' and XF_Type in(173,174)
select sum(YuCi_change) as YuCi_C ,count(YuCi_Change) as YuCi_B  from Record_XF  where Mach_ID=3  and left(Date_Time,7)='2026-10' and XF_Type=13
select sum(YuE_change) as YuE_C ,count(YuE_Change) as YuE_B  from Record_XF  where Mach_ID=3  and left(Date_Time,7)='2026-10' and XF_Type=162
select sum(YuE_change) as YuE_C ,count(YuE_Change) as YuE_B  from Record_XF  where Mach_ID=3  and left(Date_Time,7)='2026-10' and XF_Type in(9,10)
select sum(YuE_change) as YuE_C ,count(YuE_Change) as YuE_B  from Record_XF  where Mach_ID=3  and left(Date_Time,7)='2026-10' and XF_Type=175
select sum(YuCi_change) as YuCi_C ,count(YuCi_Change) as YuCi_B  from Record_XF  where Mach_ID=3  and left(Date_Time,7)='2026-10' and XF_Type=177
select sum(YuE_change) as YuE_C ,count(YuE_Change) as YuE_B  from Record_XF  where Mach_ID=3  and left(Date_Time,7)='2026-10' and XF_Type=166
select sum(YuCi_change) as YuCi_C ,count(YuCi_Change) as YuCi_B  from Record_XF  where Mach_ID=3  and left(Date_Time,7)='2026-10' and XF_Type=168
select sum(YuE_change) as YuE_C ,count(YuE_Change) as YuE_B  from Record_XF  where Mach_ID=3  and left(Date_Time,7)='2026-10' and XF_Type in(1,2) and XF_Meal=1
select sum(YuCi_change) as YuCi_C ,count(YuCi_Change) as YuCi_B  from Record_XF  where Mach_ID=3  and left(Date_Time,7)='2026-10' and XF_Type=3 and XF_Meal=1
select sum(YuE_change) as YuE_C ,count(YuE_Change) as YuE_B  from Record_XF  where Mach_ID=3  and left(Date_Time,7)='2026-10' and XF_Type in(1,2) and XF_Meal=2
select sum(YuCi_change) as YuCi_C ,count(YuCi_Change) as YuCi_B  from Record_XF  where Mach_ID=3  and left(Date_Time,7)='2026-10' and XF_Type=3 and XF_Meal=2
select sum(YuE_change) as YuE_C ,count(YuE_Change) as YuE_B  from Record_XF  where Mach_ID=3  and left(Date_Time,7)='2026-10' and XF_Type in(1,2) and XF_Meal=3
select sum(YuCi_change) as YuCi_C ,count(YuCi_Change) as YuCi_B  from Record_XF  where Mach_ID=3  and left(Date_Time,7)='2026-10' and XF_Type=3 and XF_Meal=3
select sum(YuE_change) as YuE_C ,count(YuE_Change) as YuE_B  from Record_XF  where Mach_ID=3  and left(Date_Time,7)='2026-10' and XF_Type in(1,2) and XF_Meal=4
select sum(YuCi_change) as YuCi_C ,count(YuCi_Change) as YuCi_B  from Record_XF  where Mach_ID=3  and left(Date_Time,7)='2026-10' and XF_Type=3 and XF_Meal=4
select sum(YuE_change) as YuE_C ,count(YuE_Change) as YuE_B  from Record_XF  where Mach_ID=3  and left(Date_Time,7)='2026-10' and XF_Type in(1,2) and XF_Meal=5
select sum(YuCi_change) as YuCi_C ,count(YuCi_Change) as YuCi_B  from Record_XF  where Mach_ID=3  and left(Date_Time,7)='2026-10' and XF_Type=3 and XF_Meal=5
select sum(YuE_change) as YuE_C ,count(YuE_Change) as YuE_B  from Record_XF  where Mach_ID=3  and left(Date_Time,7)='2026-10' and XF_Type in(1,2,201,179)
select sum(YuCi_change) as YuCi_C ,count(YuCi_Change) as YuCi_B  from Record_XF  where Mach_ID=3  and left(Date_Time,7)='2026-10' and XF_Type=3
select sum(YuE_change) as YuE_C ,count(YuE_Change) as YuE_B  from Record_XF  where Mach_ID=3  and left(Date_Time,7)='2026-10' and XF_Type in(17,181)
select sum(YuE_Change) as YuE_C,count(YuE_Change) as Count_Bi  from Record_XF  where XF_Type in(1,2,201,179) and Mach_ID=3  and left(Date_Time,7)='2026-10' 
select sum(YuCi_Change) as YuCi_C,count(YuCi_Change) as Count_Ci_Bi from Record_XF  where XF_Type=3 and Mach_ID=3  and left(Date_Time,7)='2026-10' 
select sum(YuE_Change) as YuE_C,count(YuE_Change) as Count_Bi  from Record_XF  where XF_Type in(1,2) and XF_Meal=1 and Mach_ID=3  and left(Date_Time,7)='2026-10' 
select sum(YuCi_Change) as YuCi_C,count(YuCi_Change) as Count_Ci_Bi from Record_XF  where  XF_Meal=1 and XF_Type=3 and Mach_ID=3  and left(Date_Time,7)='2026-10' 
select sum(YuE_Change) as YuE_C,count(YuE_Change) as Count_Bi  from Record_XF  where XF_Type in(1,2) and XF_Meal=2 and Mach_ID=3  and left(Date_Time,7)='2026-10' 
select sum(YuCi_Change) as YuCi_C,count(YuCi_Change) as Count_Ci_Bi from Record_XF  where XF_Meal=2 and XF_Type=3 and Mach_ID=3  and left(Date_Time,7)='2026-10' 
select sum(YuE_Change) as YuE_C,count(YuE_Change) as Count_Bi  from Record_XF  where XF_Type in(1,2) and XF_Meal=3 and Mach_ID=3  and left(Date_Time,7)='2026-10' 
select sum(YuCi_Change) as YuCi_C,count(YuCi_Change) as Count_Ci_Bi from Record_XF  where XF_Meal=3 and XF_Type=3 and Mach_ID=3  and left(Date_Time,7)='2026-10' 
select sum(YuE_change) as YuE_C ,count(YuE_Change) as YuE_B  from Record_XF  where Mach_ID=3  and left(Date_Time,7)='2026-11' and XF_Type in(161,202,169,170,174,129)
select sum(YuCi_change) as YuCi_C ,count(YuCi_Change) as YuCi_B  from Record_XF  where Mach_ID=3  and left(Date_Time,7)='2026-11' and XF_Type in (163,171,172)
select sum(YuE_change) as YuE_C ,count(YuE_Change) as YuE_B  from Record_XF  where Mach_ID=3  and left(Date_Time,7)='2026-11' and XF_Type in(5,6)
select sum(YuCi_change) as YuCi_C ,count(YuCi_Change) as YuCi_B  from Record_XF  where Mach_ID=3  and left(Date_Time,7)='2026-11' and XF_Type in(7,8)
select sum(YuE_change) as YuE_C ,count(YuE_Change) as YuE_B  from Record_XF  where Mach_ID=3  and left(Date_Time,7)='2026-11' and XF_Type=11
select sum(YuE_change) as YuE_C ,count(YuE_Change) as YuE_B  from Record_XF  where Mach_ID=3  and left(Date_Time,7)='2026-11' and XF_Type in(173,174)
select sum(YuCi_change) as YuCi_C ,count(YuCi_Change) as YuCi_B  from Record_XF  where Mach_ID=3  and left(Date_Time,7)='2026-11' and XF_Type=13
select sum(YuE_change) as YuE_C ,count(YuE_Change) as YuE_B  from Record_XF  where Mach_ID=3  and left(Date_Time,7)='2026-11' and XF_Type=162
select sum(YuE_change) as YuE_C ,count(YuE_Change) as YuE_B  from Record_XF  where Mach_ID=3  and left(Date_Time,7)='2026-11' and XF_Type in(9,10)
select sum(YuE_change) as YuE_C ,count(YuE_Change) as YuE_B  from Record_XF  where Mach_ID=3  and left(Date_Time,7)='2026-11' and XF_Type=175
select sum(YuCi_change) as YuCi_C ,count(YuCi_Change) as YuCi_B  from Record_XF  where Mach_ID=3  and left(Date_Time,7)='2026-11' and XF_Type=177
select sum(YuE_change) as YuE_C ,count(YuE_Change) as YuE_B  from Record_XF  where Mach_ID=3  and left(Date_Time,7)='2026-11' and XF_Type=166
select sum(YuCi_change) as YuCi_C ,count(YuCi_Change) as YuCi_B  from Record_XF  where Mach_ID=3  and left(Date_Time,7)='2026-11' and XF_Type=168
select sum(YuE_change) as YuE_C ,count(YuE_Change) as YuE_B  from Record_XF  where Mach_ID=3  and left(Date_Time,7)='2026-11' and XF_Type in(1,2) and XF_Meal=1
select sum(YuCi_change) as YuCi_C ,count(YuCi_Change) as YuCi_B  from Record_XF  where Mach_ID=3  and left(Date_Time,7)='2026-11' and XF_Type=3 and XF_Meal=1
select sum(YuE_change) as YuE_C ,count(YuE_Change) as YuE_B  from Record_XF  where Mach_ID=3  and left(Date_Time,7)='2026-11' and XF_Type in(1,2) and XF_Meal=2
select sum(YuCi_change) as YuCi_C ,count(YuCi_Change) as YuCi_B  from Record_XF  where Mach_ID=3  and left(Date_Time,7)='2026-11' and XF_Type=3 and XF_Meal=2
select sum(YuE_change) as YuE_C ,count(YuE_Change) as YuE_B  from Record_XF  where Mach_ID=3  and left(Date_Time,7)='2026-11' and XF_Type in(1,2) and XF_Meal=3
select sum(YuCi_change) as YuCi_C ,count(YuCi_Change) as YuCi_B  from Record_XF  where Mach_ID=3  and left(Date_Time,7)='2026-11' and XF_Type=3 and XF_Meal=3
select sum(YuE_change) as YuE_C ,count(YuE_Change) as YuE_B  from Record_XF  where Mach_ID=3  and left(Date_Time,7)='2026-11' and XF_Type in(1,2) and XF_Meal=4
select sum(YuCi_change) as YuCi_C ,count(YuCi_Change) as YuCi_B  from Record_XF  where Mach_ID=3  and left(Date_Time,7)='2026-11' and XF_Type=3 and XF_Meal=4
select sum(YuE_change) as YuE_C ,count(YuE_Change) as YuE_B  from Record_XF  where Mach_ID=3  and left(Date_Time,7)='2026-11' and XF_Type in(1,2) and XF_Meal=5
select sum(YuCi_change) as YuCi_C ,count(YuCi_Change) as YuCi_B  from Record_XF  where Mach_ID=3  and left(Date_Time,7)='2026-11' and XF_Type=3 and XF_Meal=5
select sum(YuE_change) as YuE_C ,count(YuE_Change) as YuE_B  from Record_XF  where Mach_ID=3  and left(Date_Time,7)='2026-11' and XF_Type in(1,2,201,179)
select sum(YuCi_change) as YuCi_C ,count(YuCi_Change) as YuCi_B  from Record_XF  where Mach_ID=3  and left(Date_Time,7)='2026-11' and XF_Type=3
select sum(YuE_change) as YuE_C ,count(YuE_Change) as YuE_B  from Record_XF  where Mach_ID=3  and left(Date_Time,7)='2026-11' and XF_Type in(17,181)
select sum(YuE_Change) as YuE_C,count(YuE_Change) as Count_Bi  from Record_XF  where XF_Type in(1,2,201,179) and Mach_ID=3  and left(Date_Time,7)='2026-11' 
select sum(YuCi_Change) as YuCi_C,count(YuCi_Change) as Count_Ci_Bi from Record_XF  where XF_Type=3 and Mach_ID=3  and left(Date_Time,7)='2026-11' 
select sum(YuE_Change) as YuE_C,count(YuE_Change) as Count_Bi  from Record_XF  where XF_Type in(1,2) and XF_Meal=1 and Mach_ID=3  and left(Date_Time,7)='2026-11' 
select sum(YuCi_Change) as YuCi_C,count(YuCi_Change) as Count_Ci_Bi from Record_XF  where  XF_Meal=1 and XF_Type=3 and Mach_ID=3  and left(Date_Time,7)='2026-11' 
select sum(YuE_Change) as YuE_C,count(YuE_Change) as Count_Bi  from Record_XF  where XF_Type in(1,2) and XF_Meal=2 and Mach_ID=3  and left(Date_Time,7)='2026-11' 
select sum(YuCi_Change) as YuCi_C,count(YuCi_Change) as Count_Ci_Bi from Record_XF  where XF_Meal=2 and XF_Type=3 and Mach_ID=3  and left(Date_Time,7)='2026-11' 
select sum(YuE_Change) as YuE_C,count(YuE_Change) as Count_Bi  from Record_XF  where XF_Type in(1,2) and XF_Meal=3 and Mach_ID=3  and left(Date_Time,7)='2026-11' 
select sum(YuCi_Change) as YuCi_C,count(YuCi_Change) as Count_Ci_Bi from Record_XF  where XF_Meal=3 and XF_Type=3 and Mach_ID=3  and left(Date_Time,7)='2026-11' 
select sum(YuE_change) as YuE_C ,count(YuE_Change) as YuE_B  from Record_XF  where Mach_ID=4  and left(date_Time,7)>='2026-10' and left(date_Time,7)<='2026-11' and XF_Type in(161,202,169,170,174,129)
select sum(YuCi_change) as YuCi_C ,count(YuCi_Change) as YuCi_B  from Record_XF  where Mach_ID=4  and left(date_Time,7)>='2026-10' and left(date_Time,7)<='2026-11' and XF_Type in (163,171,172)
select sum(YuE_change) as YuE_C ,count(YuE_Change) as YuE_B  from Record_XF  where Mach_ID=4  and left(date_Time,7)>='2026-10' and left(date_Time,7)<='2026-11' and XF_Type in(5,6)
select sum(YuCi_change) as YuCi_C ,count(YuCi_Change) as YuCi_B  from Record_XF  where Mach_ID=4  and left(date_Time,7)>='2026-10' and left(date_Time,7)<='2026-11' and XF_Type in(7,8)
select sum(YuE_change) as YuE_C ,count(YuE_Change) as YuE_B  from Record_XF  where Mach_ID=4  and left(date_Time,7)>='2026-10' and left(date_Time,7)<='2026-11' and XF_Type=11
select sum(YuE_change) as YuE_C ,count(YuE_Change) as YuE_B  from Record_XF  where Mach_ID=4  and left(date_Time,7)>='2026-10' and left(date_Time,7)<='2026-11' and XF_Type in(173,174)
select sum(YuCi_change) as YuCi_C ,count(YuCi_Change) as YuCi_B  from Record_XF  where Mach_ID=4  and left(date_Time,7)>='2026-10' and left(date_Time,7)<='2026-11' and XF_Type=13
select sum(YuE_change) as YuE_C ,count(YuE_Change) as YuE_B  from Record_XF  where Mach_ID=4  and left(date_Time,7)>='2026-10' and left(date_Time,7)<='2026-11' and XF_Type=162
select sum(YuE_change) as YuE_C ,count(YuE_Change) as YuE_B  from Record_XF  where Mach_ID=4  and left(date_Time,7)>='2026-10' and left(date_Time,7)<='2026-11' and XF_Type in(9,10)
select sum(YuE_change) as YuE_C ,count(YuE_Change) as YuE_B  from Record_XF  where Mach_ID=4  and left(date_Time,7)>='2026-10' and left(date_Time,7)<='2026-11' and XF_Type=175
select sum(YuCi_change) as YuCi_C ,count(YuCi_Change) as YuCi_B  from Record_XF  where Mach_ID=4  and left(date_Time,7)>='2026-10' and left(date_Time,7)<='2026-11' and XF_Type=177
select sum(YuE_change) as YuE_C ,count(YuE_Change) as YuE_B  from Record_XF  where Mach_ID=4  and left(date_Time,7)>='2026-10' and left(date_Time,7)<='2026-11' and XF_Type=166
select sum(YuCi_change) as YuCi_C ,count(YuCi_Change) as YuCi_B  from Record_XF  where Mach_ID=4  and left(date_Time,7)>='2026-10' and left(date_Time,7)<='2026-11' and XF_Type=168
select sum(YuE_change) as YuE_C ,count(YuE_Change) as YuE_B  from Record_XF  where Mach_ID=4  and left(date_Time,7)>='2026-10' and left(date_Time,7)<='2026-11' and XF_Type in(1,2) and XF_Meal=1
select sum(YuCi_change) as YuCi_C ,count(YuCi_Change) as YuCi_B  from Record_XF  where Mach_ID=4  and left(date_Time,7)>='2026-10' and left(date_Time,7)<='2026-11' and XF_Type=3 and XF_Meal=1
select sum(YuE_change) as YuE_C ,count(YuE_Change) as YuE_B  from Record_XF  where Mach_ID=4  and left(date_Time,7)>='2026-10' and left(date_Time,7)<='2026-11' and XF_Type in(1,2) and XF_Meal=2
select sum(YuCi_change) as YuCi_C ,count(YuCi_Change) as YuCi_B  from Record_XF  where Mach_ID=4  and left(date_Time,7)>='2026-10' and left(date_Time,7)<='2026-11' and XF_Type=3 and XF_Meal=2
select sum(YuE_change) as YuE_C ,count(YuE_Change) as YuE_B  from Record_XF  where Mach_ID=4  and left(date_Time,7)>='2026-10' and left(date_Time,7)<='2026-11' and XF_Type in(1,2) and XF_Meal=3
select sum(YuCi_change) as YuCi_C ,count(YuCi_Change) as YuCi_B  from Record_XF  where Mach_ID=4  and left(date_Time,7)>='2026-10' and left(date_Time,7)<='2026-11' and XF_Type=3 and XF_Meal=3
select sum(YuE_change) as YuE_C ,count(YuE_Change) as YuE_B  from Record_XF  where Mach_ID=4  and left(date_Time,7)>='2026-10' and left(date_Time,7)<='2026-11' and XF_Type in(1,2) and XF_Meal=4
select sum(YuCi_change) as YuCi_C ,count(YuCi_Change) as YuCi_B  from Record_XF  where Mach_ID=4  and left(date_Time,7)>='2026-10' and left(date_Time,7)<='2026-11' and XF_Type=3 and XF_Meal=4
select sum(YuE_change) as YuE_C ,count(YuE_Change) as YuE_B  from Record_XF  where Mach_ID=4  and left(date_Time,7)>='2026-10' and left(date_Time,7)<='2026-11' and XF_Type in(1,2) and XF_Meal=5
select sum(YuCi_change) as YuCi_C ,count(YuCi_Change) as YuCi_B  from Record_XF  where Mach_ID=4  and left(date_Time,7)>='2026-10' and left(date_Time,7)<='2026-11' and XF_Type=3 and XF_Meal=5
select sum(YuE_change) as YuE_C ,count(YuE_Change) as YuE_B  from Record_XF  where Mach_ID=4  and left(date_Time,7)>='2026-10' and left(date_Time,7)<='2026-11' and XF_Type in(1,2,201,179)
select sum(YuCi_change) as YuCi_C ,count(YuCi_Change) as YuCi_B  from Record_XF  where Mach_ID=4  and left(date_Time,7)>='2026-10' and left(date_Time,7)<='2026-11' and XF_Type=3
select sum(YuE_change) as YuE_C ,count(YuE_Change) as YuE_B  from Record_XF  where Mach_ID=4  and left(date_Time,7)>='2026-10' and left(date_Time,7)<='2026-11' and XF_Type in(17,181)
select sum(YuE_change) as YuE_C ,count(YuE_Change) as YuE_B  from Record_XF  where Mach_ID=4  and left(Date_Time,7)='2026-10' and XF_Type in(161,202,169,170,174,129)
select sum(YuCi_change) as YuCi_C ,count(YuCi_Change) as YuCi_B  from Record_XF  where Mach_ID=4  and left(Date_Time,7)='2026-10' and XF_Type in (163,171,172)
select sum(YuE_change) as YuE_C ,count(YuE_Change) as YuE_B  from Record_XF  where Mach_ID=4  and left(Date_Time,7)='2026-10' and XF_Type in(5,6)
select sum(YuCi_change) as YuCi_C ,count(YuCi_Change) as YuCi_B  from Record_XF  where Mach_ID=4  and left(Date_Time,7)='2026-10' and XF_Type in(7,8)
select sum(YuE_change) as YuE_C ,count(YuE_Change) as YuE_B  from Record_XF  where Mach_ID=4  and left(Date_Time,7)='2026-10' and XF_Type=11
select sum(YuE_change) as YuE_C ,count(YuE_Change) as YuE_B  from Record_XF  where Mach_ID=4  and left(Date_Time,7)='2026-10' and XF_Type in(173,174)
select sum(YuCi_change) as YuCi_C ,count(YuCi_Change) as YuCi_B  from Record_XF  where Mach_ID=4  and left(Date_Time,7)='2026-10' and XF_Type=13
select sum(YuE_change) as YuE_C ,count(YuE_Change) as YuE_B  from Record_XF  where Mach_ID=4  and left(Date_Time,7)='2026-10' and XF_Type=162
select sum(YuE_change) as YuE_C ,count(YuE_Change) as YuE_B  from Record_XF  where Mach_ID=4  and left(Date_Time,7)='2026-10' and XF_Type in(9,10)
select sum(YuE_change) as YuE_C ,count(YuE_Change) as YuE_B  from Record_XF  where Mach_ID=4  and left(Date_Time,7)='2026-10' and XF_Type=175
select sum(YuCi_change) as YuCi_C ,count(YuCi_Change) as YuCi_B  from Record_XF  where Mach_ID=4  and left(Date_Time,7)='2026-10' and XF_Type=177
select sum(YuE_change) as YuE_C ,count(YuE_Change) as YuE_B  from Record_XF  where Mach_ID=4  and left(Date_Time,7)='2026-10' and XF_Type=166
select sum(YuCi_change) as YuCi_C ,count(YuCi_Change) as YuCi_B  from Record_XF  where Mach_ID=4  and left(Date_Time,7)='2026-10' and XF_Type=168
select sum(YuE_change) as YuE_C ,count(YuE_Change) as YuE_B  from Record_XF  where Mach_ID=4  and left(Date_Time,7)='2026-10' and XF_Type in(1,2) and XF_Meal=1
select sum(YuCi_change) as YuCi_C ,count(YuCi_Change) as YuCi_B  from Record_XF  where Mach_ID=4  and left(Date_Time,7)='2026-10' and XF_Type=3 and XF_Meal=1
select sum(YuE_change) as YuE_C ,count(YuE_Change) as YuE_B  from Record_XF  where Mach_ID=4  and left(Date_Time,7)='2026-10' and XF_Type in(1,2) and XF_Meal=2
select sum(YuCi_change) as YuCi_C ,count(YuCi_Change) as YuCi_B  from Record_XF  where Mach_ID=4  and left(Date_Time,7)='2026-10' and XF_Type=3 and XF_Meal=2
select sum(YuE_change) as YuE_C ,count(YuE_Change) as YuE_B  from Record_XF  where Mach_ID=4  and left(Date_Time,7)='2026-10' and XF_Type in(1,2) and XF_Meal=3
select sum(YuCi_change) as YuCi_C ,count(YuCi_Change) as YuCi_B  from Record_XF  where Mach_ID=4  and left(Date_Time,7)='2026-10' and XF_Type=3 and XF_Meal=3
select sum(YuE_change) as YuE_C ,count(YuE_Change) as YuE_B  from Record_XF  where Mach_ID=4  and left(Date_Time,7)='2026-10' and XF_Type in(1,2) and XF_Meal=4
select sum(YuCi_change) as YuCi_C ,count(YuCi_Change) as YuCi_B  from Record_XF  where Mach_ID=4  and left(Date_Time,7)='2026-10' and XF_Type=3 and XF_Meal=4
select sum(YuE_change) as YuE_C ,count(YuE_Change) as YuE_B  from Record_XF  where Mach_ID=4  and left(Date_Time,7)='2026-10' and XF_Type in(1,2) and XF_Meal=5
select sum(YuCi_change) as YuCi_C ,count(YuCi_Change) as YuCi_B  from Record_XF  where Mach_ID=4  and left(Date_Time,7)='2026-10' and XF_Type=3 and XF_Meal=5
select sum(YuE_change) as YuE_C ,count(YuE_Change) as YuE_B  from Record_XF  where Mach_ID=4  and left(Date_Time,7)='2026-10' and XF_Type in(1,2,201,179)
select sum(YuCi_change) as YuCi_C ,count(YuCi_Change) as YuCi_B  from Record_XF  where Mach_ID=4  and left(Date_Time,7)='2026-10' and XF_Type=3
select sum(YuE_change) as YuE_C ,count(YuE_Change) as YuE_B  from Record_XF  where Mach_ID=4  and left(Date_Time,7)='2026-10' and XF_Type in(17,181)
select sum(YuE_Change) as YuE_C,count(YuE_Change) as Count_Bi  from Record_XF  where XF_Type in(1,2,201,179) and Mach_ID=4  and left(Date_Time,7)='2026-10' 
select sum(YuCi_Change) as YuCi_C,count(YuCi_Change) as Count_Ci_Bi from Record_XF  where XF_Type=3 and Mach_ID=4  and left(Date_Time,7)='2026-10' 
select sum(YuE_Change) as YuE_C,count(YuE_Change) as Count_Bi  from Record_XF  where XF_Type in(1,2) and XF_Meal=1 and Mach_ID=4  and left(Date_Time,7)='2026-10' 
select sum(YuCi_Change) as YuCi_C,count(YuCi_Change) as Count_Ci_Bi from Record_XF  where  XF_Meal=1 and XF_Type=3 and Mach_ID=4  and left(Date_Time,7)='2026-10' 
select sum(YuE_Change) as YuE_C,count(YuE_Change) as Count_Bi  from Record_XF  where XF_Type in(1,2) and XF_Meal=2 and Mach_ID=4  and left(Date_Time,7)='2026-10' 
select sum(YuCi_Change) as YuCi_C,count(YuCi_Change) as Count_Ci_Bi from Record_XF  where XF_Meal=2 and XF_Type=3 and Mach_ID=4  and left(Date_Time,7)='2026-10' 
select sum(YuE_Change) as YuE_C,count(YuE_Change) as Count_Bi  from Record_XF  where XF_Type in(1,2) and XF_Meal=3 and Mach_ID=4  and left(Date_Time,7)='2026-10' 
select sum(YuCi_Change) as YuCi_C,count(YuCi_Change) as Count_Ci_Bi from Record_XF  where XF_Meal=3 and XF_Type=3 and Mach_ID=4  and left(Date_Time,7)='2026-10' 
select sum(YuE_change) as YuE_C ,count(YuE_Change) as YuE_B  from Record_XF  where Mach_ID=4  and left(Date_Time,7)='2026-11' and XF_Type in(161,202,169,170,174,129)
select sum(YuCi_change) as YuCi_C ,count(YuCi_Change) as YuCi_B  from Record_XF  where Mach_ID=4  and left(Date_Time,7)='2026-11' and XF_Type in (163,171,172)
select sum(YuE_change) as YuE_C ,count(YuE_Change) as YuE_B  from Record_XF  where Mach_ID=4  and left(Date_Time,7)='2026-11' and XF_Type in(5,6)
select sum(YuCi_change) as YuCi_C ,count(YuCi_Change) as YuCi_B  from Record_XF  where Mach_ID=4  and left(Date_Time,7)='2026-11' and XF_Type in(7,8)
select sum(YuE_change) as YuE_C ,count(YuE_Change) as YuE_B  from Record_XF  where Mach_ID=4  and left(Date_Time,7)='2026-11' and XF_Type=11
select sum(YuE_change) as YuE_C ,count(YuE_Change) as YuE_B  from Record_XF  where Mach_ID=4  and left(Date_Time,7)='2026-11' and XF_Type in(173,174)
select sum(YuCi_change) as YuCi_C ,count(YuCi_Change) as YuCi_B  from Record_XF  where Mach_ID=4  and left(Date_Time,7)='2026-11' and XF_Type=13
select sum(YuE_change) as YuE_C ,count(YuE_Change) as YuE_B  from Record_XF  where Mach_ID=4  and left(Date_Time,7)='2026-11' and XF_Type=162
select sum(YuE_change) as YuE_C ,count(YuE_Change) as YuE_B  from Record_XF  where Mach_ID=4  and left(Date_Time,7)='2026-11' and XF_Type in(9,10)
select sum(YuE_change) as YuE_C ,count(YuE_Change) as YuE_B  from Record_XF  where Mach_ID=4  and left(Date_Time,7)='2026-11' and XF_Type=175
select sum(YuCi_change) as YuCi_C ,count(YuCi_Change) as YuCi_B  from Record_XF  where Mach_ID=4  and left(Date_Time,7)='2026-11' and XF_Type=177
select sum(YuE_change) as YuE_C ,count(YuE_Change) as YuE_B  from Record_XF  where Mach_ID=4  and left(Date_Time,7)='2026-11' and XF_Type=166
select sum(YuCi_change) as YuCi_C ,count(YuCi_Change) as YuCi_B  from Record_XF  where Mach_ID=4  and left(Date_Time,7)='2026-11' and XF_Type=168
select sum(YuE_change) as YuE_C ,count(YuE_Change) as YuE_B  from Record_XF  where Mach_ID=4  and left(Date_Time,7)='2026-11' and XF_Type in(1,2) and XF_Meal=1
select sum(YuCi_change) as YuCi_C ,count(YuCi_Change) as YuCi_B  from Record_XF  where Mach_ID=4  and left(Date_Time,7)='2026-11' and XF_Type=3 and XF_Meal=1
select sum(YuE_change) as YuE_C ,count(YuE_Change) as YuE_B  from Record_XF  where Mach_ID=4  and left(Date_Time,7)='2026-11' and XF_Type in(1,2) and XF_Meal=2
select sum(YuCi_change) as YuCi_C ,count(YuCi_Change) as YuCi_B  from Record_XF  where Mach_ID=4  and left(Date_Time,7)='2026-11' and XF_Type=3 and XF_Meal=2
select sum(YuE_change) as YuE_C ,count(YuE_Change) as YuE_B  from Record_XF  where Mach_ID=4  and left(Date_Time,7)='2026-11' and XF_Type in(1,2) and XF_Meal=3
select sum(YuCi_change) as YuCi_C ,count(YuCi_Change) as YuCi_B  from Record_XF  where Mach_ID=4  and left(Date_Time,7)='2026-11' and XF_Type=3 and XF_Meal=3
select sum(YuE_change) as YuE_C ,count(YuE_Change) as YuE_B  from Record_XF  where Mach_ID=4  and left(Date_Time,7)='2026-11' and XF_Type in(1,2) and XF_Meal=4
select sum(YuCi_change) as YuCi_C ,count(YuCi_Change) as YuCi_B  from Record_XF  where Mach_ID=4  and left(Date_Time,7)='2026-11' and XF_Type=3 and XF_Meal=4
select sum(YuE_change) as YuE_C ,count(YuE_Change) as YuE_B  from Record_XF  where Mach_ID=4  and left(Date_Time,7)='2026-11' and XF_Type in(1,2) and XF_Meal=5
select sum(YuCi_change) as YuCi_C ,count(YuCi_Change) as YuCi_B  from Record_XF  where Mach_ID=4  and left(Date_Time,7)='2026-11' and XF_Type=3 and XF_Meal=5
select sum(YuE_change) as YuE_C ,count(YuE_Change) as YuE_B  from Record_XF  where Mach_ID=4  and left(Date_Time,7)='2026-11' and XF_Type in(1,2,201,179)
select sum(YuCi_change) as YuCi_C ,count(YuCi_Change) as YuCi_B  from Record_XF  where Mach_ID=4  and left(Date_Time,7)='2026-11' and XF_Type=3
select sum(YuE_change) as YuE_C ,count(YuE_Change) as YuE_B  from Record_XF  where Mach_ID=4  and left(Date_Time,7)='2026-11' and XF_Type in(17,181)
select sum(YuE_Change) as YuE_C,count(YuE_Change) as Count_Bi  from Record_XF  where XF_Type in(1,2,201,179) and Mach_ID=4  and left(Date_Time,7)='2026-11' 
select sum(YuCi_Change) as YuCi_C,count(YuCi_Change) as Count_Ci_Bi from Record_XF  where XF_Type=3 and Mach_ID=4  and left(Date_Time,7)='2026-11' 
select sum(YuE_Change) as YuE_C,count(YuE_Change) as Count_Bi  from Record_XF  where XF_Type in(1,2) and XF_Meal=1 and Mach_ID=4  and left(Date_Time,7)='2026-11' 
select sum(YuCi_Change) as YuCi_C,count(YuCi_Change) as Count_Ci_Bi from Record_XF  where  XF_Meal=1 and XF_Type=3 and Mach_ID=4  and left(Date_Time,7)='2026-11' 
select sum(YuE_Change) as YuE_C,count(YuE_Change) as Count_Bi  from Record_XF  where XF_Type in(1,2) and XF_Meal=2 and Mach_ID=4  and left(Date_Time,7)='2026-11' 
select sum(YuCi_Change) as YuCi_C,count(YuCi_Change) as Count_Ci_Bi from Record_XF  where XF_Meal=2 and XF_Type=3 and Mach_ID=4  and left(Date_Time,7)='2026-11' 
select sum(YuE_Change) as YuE_C,count(YuE_Change) as Count_Bi  from Record_XF  where XF_Type in(1,2) and XF_Meal=3 and Mach_ID=4  and left(Date_Time,7)='2026-11' 
select sum(YuCi_Change) as YuCi_C,count(YuCi_Change) as Count_Ci_Bi from Record_XF  where XF_Meal=3 and XF_Type=3 and Mach_ID=4  and left(Date_Time,7)='2026-11' 
select sum(YuE_change) as YuE_C ,count(YuE_Change) as YuE_B  from Record_XF  where Mach_ID=5  and left(date_Time,7)>='2026-10' and left(date_Time,7)<='2026-11' and XF_Type in(161,202,169,170,174,129)
select sum(YuCi_change) as YuCi_C ,count(YuCi_Change) as YuCi_B  from Record_XF  where Mach_ID=5  and left(date_Time,7)>='2026-10' and left(date_Time,7)<='2026-11' and XF_Type in (163,171,172)
select sum(YuE_change) as YuE_C ,count(YuE_Change) as YuE_B  from Record_XF  where Mach_ID=5  and left(date_Time,7)>='2026-10' and left(date_Time,7)<='2026-11' and XF_Type in(5,6)
select sum(YuCi_change) as YuCi_C ,count(YuCi_Change) as YuCi_B  from Record_XF  where Mach_ID=5  and left(date_Time,7)>='2026-10' and left(date_Time,7)<='2026-11' and XF_Type in(7,8)
select sum(YuE_change) as YuE_C ,count(YuE_Change) as YuE_B  from Record_XF  where Mach_ID=5  and left(date_Time,7)>='2026-10' and left(date_Time,7)<='2026-11' and XF_Type=11
select sum(YuE_change) as YuE_C ,count(YuE_Change) as YuE_B  from Record_XF  where Mach_ID=5  and left(date_Time,7)>='2026-10' and left(date_Time,7)<='2026-11' and XF_Type in(173,174)
select sum(YuCi_change) as YuCi_C ,count(YuCi_Change) as YuCi_B  from Record_XF  where Mach_ID=5  and left(date_Time,7)>='2026-10' and left(date_Time,7)<='2026-11' and XF_Type=13
select sum(YuE_change) as YuE_C ,count(YuE_Change) as YuE_B  from Record_XF  where Mach_ID=5  and left(date_Time,7)>='2026-10' and left(date_Time,7)<='2026-11' and XF_Type=162
select sum(YuE_change) as YuE_C ,count(YuE_Change) as YuE_B  from Record_XF  where Mach_ID=5  and left(date_Time,7)>='2026-10' and left(date_Time,7)<='2026-11' and XF_Type in(9,10)
select sum(YuE_change) as YuE_C ,count(YuE_Change) as YuE_B  from Record_XF  where Mach_ID=5  and left(date_Time,7)>='2026-10' and left(date_Time,7)<='2026-11' and XF_Type=175
select sum(YuCi_change) as YuCi_C ,count(YuCi_Change) as YuCi_B  from Record_XF  where Mach_ID=5  and left(date_Time,7)>='2026-10' and left(date_Time,7)<='2026-11' and XF_Type=177
select sum(YuE_change) as YuE_C ,count(YuE_Change) as YuE_B  from Record_XF  where Mach_ID=5  and left(date_Time,7)>='2026-10' and left(date_Time,7)<='2026-11' and XF_Type=166
select sum(YuCi_change) as YuCi_C ,count(YuCi_Change) as YuCi_B  from Record_XF  where Mach_ID=5  and left(date_Time,7)>='2026-10' and left(date_Time,7)<='2026-11' and XF_Type=168
select sum(YuE_change) as YuE_C ,count(YuE_Change) as YuE_B  from Record_XF  where Mach_ID=5  and left(date_Time,7)>='2026-10' and left(date_Time,7)<='2026-11' and XF_Type in(1,2) and XF_Meal=1
select sum(YuCi_change) as YuCi_C ,count(YuCi_Change) as YuCi_B  from Record_XF  where Mach_ID=5  and left(date_Time,7)>='2026-10' and left(date_Time,7)<='2026-11' and XF_Type=3 and XF_Meal=1
select sum(YuE_change) as YuE_C ,count(YuE_Change) as YuE_B  from Record_XF  where Mach_ID=5  and left(date_Time,7)>='2026-10' and left(date_Time,7)<='2026-11' and XF_Type in(1,2) and XF_Meal=2
select sum(YuCi_change) as YuCi_C ,count(YuCi_Change) as YuCi_B  from Record_XF  where Mach_ID=5  and left(date_Time,7)>='2026-10' and left(date_Time,7)<='2026-11' and XF_Type=3 and XF_Meal=2
select sum(YuE_change) as YuE_C ,count(YuE_Change) as YuE_B  from Record_XF  where Mach_ID=5  and left(date_Time,7)>='2026-10' and left(date_Time,7)<='2026-11' and XF_Type in(1,2) and XF_Meal=3
select sum(YuCi_change) as YuCi_C ,count(YuCi_Change) as YuCi_B  from Record_XF  where Mach_ID=5  and left(date_Time,7)>='2026-10' and left(date_Time,7)<='2026-11' and XF_Type=3 and XF_Meal=3
select sum(YuE_change) as YuE_C ,count(YuE_Change) as YuE_B  from Record_XF  where Mach_ID=5  and left(date_Time,7)>='2026-10' and left(date_Time,7)<='2026-11' and XF_Type in(1,2) and XF_Meal=4
select sum(YuCi_change) as YuCi_C ,count(YuCi_Change) as YuCi_B  from Record_XF  where Mach_ID=5  and left(date_Time,7)>='2026-10' and left(date_Time,7)<='2026-11' and XF_Type=3 and XF_Meal=4
select sum(YuE_change) as YuE_C ,count(YuE_Change) as YuE_B  from Record_XF  where Mach_ID=5  and left(date_Time,7)>='2026-10' and left(date_Time,7)<='2026-11' and XF_Type in(1,2) and XF_Meal=5
select sum(YuCi_change) as YuCi_C ,count(YuCi_Change) as YuCi_B  from Record_XF  where Mach_ID=5  and left(date_Time,7)>='2026-10' and left(date_Time,7)<='2026-11' and XF_Type=3 and XF_Meal=5
select sum(YuE_change) as YuE_C ,count(YuE_Change) as YuE_B  from Record_XF  where Mach_ID=5  and left(date_Time,7)>='2026-10' and left(date_Time,7)<='2026-11' and XF_Type in(1,2,201,179)
select sum(YuCi_change) as YuCi_C ,count(YuCi_Change) as YuCi_B  from Record_XF  where Mach_ID=5  and left(date_Time,7)>='2026-10' and left(date_Time,7)<='2026-11' and XF_Type=3
select sum(YuE_change) as YuE_C ,count(YuE_Change) as YuE_B  from Record_XF  where Mach_ID=5  and left(date_Time,7)>='2026-10' and left(date_Time,7)<='2026-11' and XF_Type in(17,181)
select sum(YuE_change) as YuE_C ,count(YuE_Change) as YuE_B  from Record_XF  where Mach_ID=5  and left(Date_Time,7)='2026-10' and XF_Type in(161,202,169,170,174,129)
select sum(YuCi_change) as YuCi_C ,count(YuCi_Change) as YuCi_B  from Record_XF  where Mach_ID=5  and left(Date_Time,7)='2026-10' and XF_Type in (163,171,172)
select sum(YuE_change) as YuE_C ,count(YuE_Change) as YuE_B  from Record_XF  where Mach_ID=5  and left(Date_Time,7)='2026-10' and XF_Type in(5,6)
select sum(YuCi_change) as YuCi_C ,count(YuCi_Change) as YuCi_B  from Record_XF  where Mach_ID=5  and left(Date_Time,7)='2026-10' and XF_Type in(7,8)
select sum(YuE_change) as YuE_C ,count(YuE_Change) as YuE_B  from Record_XF  where Mach_ID=5  and left(Date_Time,7)='2026-10' and XF_Type=11
select sum(YuE_change) as YuE_C ,count(YuE_Change) as YuE_B  from Record_XF  where Mach_ID=5  and left(Date_Time,7)='2026-10' and XF_Type in(173,174)
select sum(YuCi_change) as YuCi_C ,count(YuCi_Change) as YuCi_B  from Record_XF  where Mach_ID=5  and left(Date_Time,7)='2026-10' and XF_Type=13
select sum(YuE_change) as YuE_C ,count(YuE_Change) as YuE_B  from Record_XF  where Mach_ID=5  and left(Date_Time,7)='2026-10' and XF_Type=162
select sum(YuE_change) as YuE_C ,count(YuE_Change) as YuE_B  from Record_XF  where Mach_ID=5  and left(Date_Time,7)='2026-10' and XF_Type in(9,10)
select sum(YuE_change) as YuE_C ,count(YuE_Change) as YuE_B  from Record_XF  where Mach_ID=5  and left(Date_Time,7)='2026-10' and XF_Type=175
select sum(YuCi_change) as YuCi_C ,count(YuCi_Change) as YuCi_B  from Record_XF  where Mach_ID=5  and left(Date_Time,7)='2026-10' and XF_Type=177
select sum(YuE_change) as YuE_C ,count(YuE_Change) as YuE_B  from Record_XF  where Mach_ID=5  and left(Date_Time,7)='2026-10' and XF_Type=166
select sum(YuCi_change) as YuCi_C ,count(YuCi_Change) as YuCi_B  from Record_XF  where Mach_ID=5  and left(Date_Time,7)='2026-10' and XF_Type=168
select sum(YuE_change) as YuE_C ,count(YuE_Change) as YuE_B  from Record_XF  where Mach_ID=5  and left(Date_Time,7)='2026-10' and XF_Type in(1,2) and XF_Meal=1
select sum(YuCi_change) as YuCi_C ,count(YuCi_Change) as YuCi_B  from Record_XF  where Mach_ID=5  and left(Date_Time,7)='2026-10' and XF_Type=3 and XF_Meal=1
select sum(YuE_change) as YuE_C ,count(YuE_Change) as YuE_B  from Record_XF  where Mach_ID=5  and left(Date_Time,7)='2026-10' and XF_Type in(1,2) and XF_Meal=2
select sum(YuCi_change) as YuCi_C ,count(YuCi_Change) as YuCi_B  from Record_XF  where Mach_ID=5  and left(Date_Time,7)='2026-10' and XF_Type=3 and XF_Meal=2
select sum(YuE_change) as YuE_C ,count(YuE_Change) as YuE_B  from Record_XF  where Mach_ID=5  and left(Date_Time,7)='2026-10' and XF_Type in(1,2) and XF_Meal=3
select sum(YuCi_change) as YuCi_C ,count(YuCi_Change) as YuCi_B  from Record_XF  where Mach_ID=5  and left(Date_Time,7)='2026-10' and XF_Type=3 and XF_Meal=3
select sum(YuE_change) as YuE_C ,count(YuE_Change) as YuE_B  from Record_XF  where Mach_ID=5  and left(Date_Time,7)='2026-10' and XF_Type in(1,2) and XF_Meal=4
select sum(YuCi_change) as YuCi_C ,count(YuCi_Change) as YuCi_B  from Record_XF  where Mach_ID=5  and left(Date_Time,7)='2026-10' and XF_Type=3 and XF_Meal=4
select sum(YuE_change) as YuE_C ,count(YuE_Change) as YuE_B  from Record_XF  where Mach_ID=5  and left(Date_Time,7)='2026-10' and XF_Type in(1,2) and XF_Meal=5
select sum(YuCi_change) as YuCi_C ,count(YuCi_Change) as YuCi_B  from Record_XF  where Mach_ID=5  and left(Date_Time,7)='2026-10' and XF_Type=3 and XF_Meal=5
select sum(YuE_change) as YuE_C ,count(YuE_Change) as YuE_B  from Record_XF  where Mach_ID=5  and left(Date_Time,7)='2026-10' and XF_Type in(1,2,201,179)
select sum(YuCi_change) as YuCi_C ,count(YuCi_Change) as YuCi_B  from Record_XF  where Mach_ID=5  and left(Date_Time,7)='2026-10' and XF_Type=3
select sum(YuE_change) as YuE_C ,count(YuE_Change) as YuE_B  from Record_XF  where Mach_ID=5  and left(Date_Time,7)='2026-10' and XF_Type in(17,181)
select sum(YuE_Change) as YuE_C,count(YuE_Change) as Count_Bi  from Record_XF  where XF_Type in(1,2,201,179) and Mach_ID=5  and left(Date_Time,7)='2026-10' 
select sum(YuCi_Change) as YuCi_C,count(YuCi_Change) as Count_Ci_Bi from Record_XF  where XF_Type=3 and Mach_ID=5  and left(Date_Time,7)='2026-10' 
select sum(YuE_Change) as YuE_C,count(YuE_Change) as Count_Bi  from Record_XF  where XF_Type in(1,2) and XF_Meal=1 and Mach_ID=5  and left(Date_Time,7)='2026-10' 
select sum(YuCi_Change) as YuCi_C,count(YuCi_Change) as Count_Ci_Bi from Record_XF  where  XF_Meal=1 and XF_Type=3 and Mach_ID=5  and left(Date_Time,7)='2026-10' 
select sum(YuE_Change) as YuE_C,count(YuE_Change) as Count_Bi  from Record_XF  where XF_Type in(1,2) and XF_Meal=2 and Mach_ID=5  and left(Date_Time,7)='2026-10' 
select sum(YuCi_Change) as YuCi_C,count(YuCi_Change) as Count_Ci_Bi from Record_XF  where XF_Meal=2 and XF_Type=3 and Mach_ID=5  and left(Date_Time,7)='2026-10' 
select sum(YuE_Change) as YuE_C,count(YuE_Change) as Count_Bi  from Record_XF  where XF_Type in(1,2) and XF_Meal=3 and Mach_ID=5  and left(Date_Time,7)='2026-10' 
select sum(YuCi_Change) as YuCi_C,count(YuCi_Change) as Count_Ci_Bi from Record_XF  where XF_Meal=3 and XF_Type=3 and Mach_ID=5  and left(Date_Time,7)='2026-10' 
select sum(YuE_change) as YuE_C ,count(YuE_Change) as YuE_B  from Record_XF  where Mach_ID=5  and left(Date_Time,7)='2026-11' and XF_Type in(161,202,169,170,174,129)
select sum(YuCi_change) as YuCi_C ,count(YuCi_Change) as YuCi_B  from Record_XF  where Mach_ID=5  and left(Date_Time,7)='2026-11' and XF_Type in (163,171,172)
select sum(YuE_change) as YuE_C ,count(YuE_Change) as YuE_B  from Record_XF  where Mach_ID=5  and left(Date_Time,7)='2026-11' and XF_Type in(5,6)
select sum(YuCi_change) as YuCi_C ,count(YuCi_Change) as YuCi_B  from Record_XF  where Mach_ID=5  and left(Date_Time,7)='2026-11' and XF_Type in(7,8)
select sum(YuE_change) as YuE_C ,count(YuE_Change) as YuE_B  from Record_XF  where Mach_ID=5  and left(Date_Time,7)='2026-11' and XF_Type=11
select sum(YuE_change) as YuE_C ,count(YuE_Change) as YuE_B  from Record_XF  where Mach_ID=5  and left(Date_Time,7)='2026-11' and XF_Type in(173,174)
select sum(YuCi_change) as YuCi_C ,count(YuCi_Change) as YuCi_B  from Record_XF  where Mach_ID=5  and left(Date_Time,7)='2026-11' and XF_Type=13
select sum(YuE_change) as YuE_C ,count(YuE_Change) as YuE_B  from Record_XF  where Mach_ID=5  and left(Date_Time,7)='2026-11' and XF_Type=162
select sum(YuE_change) as YuE_C ,count(YuE_Change) as YuE_B  from Record_XF  where Mach_ID=5  and left(Date_Time,7)='2026-11' and XF_Type in(9,10)
select sum(YuE_change) as YuE_C ,count(YuE_Change) as YuE_B  from Record_XF  where Mach_ID=5  and left(Date_Time,7)='2026-11' and XF_Type=175
select sum(YuCi_change) as YuCi_C ,count(YuCi_Change) as YuCi_B  from Record_XF  where Mach_ID=5  and left(Date_Time,7)='2026-11' and XF_Type=177
select sum(YuE_change) as YuE_C ,count(YuE_Change) as YuE_B  from Record_XF  where Mach_ID=5  and left(Date_Time,7)='2026-11' and XF_Type=166
select sum(YuCi_change) as YuCi_C ,count(YuCi_Change) as YuCi_B  from Record_XF  where Mach_ID=5  and left(Date_Time,7)='2026-11' and XF_Type=168
select sum(YuE_change) as YuE_C ,count(YuE_Change) as YuE_B  from Record_XF  where Mach_ID=5  and left(Date_Time,7)='2026-11' and XF_Type in(1,2) and XF_Meal=1
select sum(YuCi_change) as YuCi_C ,count(YuCi_Change) as YuCi_B  from Record_XF  where Mach_ID=5  and left(Date_Time,7)='2026-11' and XF_Type=3 and XF_Meal=1
select sum(YuE_change) as YuE_C ,count(YuE_Change) as YuE_B  from Record_XF  where Mach_ID=5  and left(Date_Time,7)='2026-11' and XF_Type in(1,2) and XF_Meal=2
select sum(YuCi_change) as YuCi_C ,count(YuCi_Change) as YuCi_B  from Record_XF  where Mach_ID=5  and left(Date_Time,7)='2026-11' and XF_Type=3 and XF_Meal=2
select sum(YuE_change) as YuE_C ,count(YuE_Change) as YuE_B  from Record_XF  where Mach_ID=5  and left(Date_Time,7)='2026-11' and XF_Type in(1,2) and XF_Meal=3
select sum(YuCi_change) as YuCi_C ,count(YuCi_Change) as YuCi_B  from Record_XF  where Mach_ID=5  and left(Date_Time,7)='2026-11' and XF_Type=3 and XF_Meal=3
select sum(YuE_change) as YuE_C ,count(YuE_Change) as YuE_B  from Record_XF  where Mach_ID=5  and left(Date_Time,7)='2026-11' and XF_Type in(1,2) and XF_Meal=4
select sum(YuCi_change) as YuCi_C ,count(YuCi_Change) as YuCi_B  from Record_XF  where Mach_ID=5  and left(Date_Time,7)='2026-11' and XF_Type=3 and XF_Meal=4
select sum(YuE_change) as YuE_C ,count(YuE_Change) as YuE_B  from Record_XF  where Mach_ID=5  and left(Date_Time,7)='2026-11' and XF_Type in(1,2) and XF_Meal=5
select sum(YuCi_change) as YuCi_C ,count(YuCi_Change) as YuCi_B  from Record_XF  where Mach_ID=5  and left(Date_Time,7)='2026-11' and XF_Type=3 and XF_Meal=5
select sum(YuE_change) as YuE_C ,count(YuE_Change) as YuE_B  from Record_XF  where Mach_ID=5  and left(Date_Time,7)='2026-11' and XF_Type in(1,2,201,179)
select sum(YuCi_change) as YuCi_C ,count(YuCi_Change) as YuCi_B  from Record_XF  where Mach_ID=5  and left(Date_Time,7)='2026-11' and XF_Type=3
select sum(YuE_change) as YuE_C ,count(YuE_Change) as YuE_B  from Record_XF  where Mach_ID=5  and left(Date_Time,7)='2026-11' and XF_Type in(17,181)
select sum(YuE_Change) as YuE_C,count(YuE_Change) as Count_Bi  from Record_XF  where XF_Type in(1,2,201,179) and Mach_ID=5  and left(Date_Time,7)='2026-11' 
select sum(YuCi_Change) as YuCi_C,count(YuCi_Change) as Count_Ci_Bi from Record_XF  where XF_Type=3 and Mach_ID=5  and left(Date_Time,7)='2026-11' 
select sum(YuE_Change) as YuE_C,count(YuE_Change) as Count_Bi  from Record_XF  where XF_Type in(1,2) and XF_Meal=1 and Mach_ID=5  and left(Date_Time,7)='2026-11' 
select sum(YuCi_Change) as YuCi_C,count(YuCi_Change) as Count_Ci_Bi from Record_XF  where  XF_Meal=1 and XF_Type=3 and Mach_ID=5  and left(Date_Time,7)='2026-11' 
select sum(YuE_Change) as YuE_C,count(YuE_Change) as Count_Bi  from Record_XF  where XF_Type in(1,2) and XF_Meal=2 and Mach_ID=5  and left(Date_Time,7)='2026-11' 
select sum(YuCi_Change) as YuCi_C,count(YuCi_Change) as Count_Ci_Bi from Record_XF  where XF_Meal=2 and XF_Type=3 and Mach_ID=5  and left(Date_Time,7)='2026-11' 
select sum(YuE_Change) as YuE_C,count(YuE_Change) as Count_Bi  from Record_XF  where XF_Type in(1,2) and XF_Meal=3 and Mach_ID=5  and left(Date_Time,7)='2026-11' 
select sum(YuCi_Change) as YuCi_C,count(YuCi_Change) as Count_Ci_Bi from Record_XF  where XF_Meal=3 and XF_Type=3 and Mach_ID=5  and left(Date_Time,7)='2026-11' 
select sum(YuE_change) as YuE_C ,count(YuE_Change) as YuE_B  from Record_XF  where Mach_ID=6  and left(date_Time,7)>='2026-10' and left(date_Time,7)<='2026-11' and XF_Type in(161,202,169,170,174,129)
select sum(YuCi_change) as YuCi_C ,count(YuCi_Change) as YuCi_B  from Record_XF  where Mach_ID=6  and left(date_Time,7)>='2026-10' and left(date_Time,7)<='2026-11' and XF_Type in (163,171,172)
select sum(YuE_change) as YuE_C ,count(YuE_Change) as YuE_B  from Record_XF  where Mach_ID=6  and left(date_Time,7)>='2026-10' and left(date_Time,7)<='2026-11' and XF_Type in(5,6)
select sum(YuCi_change) as YuCi_C ,count(YuCi_Change) as YuCi_B  from Record_XF  where Mach_ID=6  and left(date_Time,7)>='2026-10' and left(date_Time,7)<='2026-11' and XF_Type in(7,8)
select sum(YuE_change) as YuE_C ,count(YuE_Change) as YuE_B  from Record_XF  where Mach_ID=6  and left(date_Time,7)>='2026-10' and left(date_Time,7)<='2026-11' and XF_Type=11
select sum(YuE_change) as YuE_C ,count(YuE_Change) as YuE_B  from Record_XF  where Mach_ID=6  and left(date_Time,7)>='2026-10' and left(date_Time,7)<='2026-11' and XF_Type in(173,174)
select sum(YuCi_change) as YuCi_C ,count(YuCi_Change) as YuCi_B  from Record_XF  where Mach_ID=6  and left(date_Time,7)>='2026-10' and left(date_Time,7)<='2026-11' and XF_Type=13
select sum(YuE_change) as YuE_C ,count(YuE_Change) as YuE_B  from Record_XF  where Mach_ID=6  and left(date_Time,7)>='2026-10' and left(date_Time,7)<='2026-11' and XF_Type=162
select sum(YuE_change) as YuE_C ,count(YuE_Change) as YuE_B  from Record_XF  where Mach_ID=6  and left(date_Time,7)>='2026-10' and left(date_Time,7)<='2026-11' and XF_Type in(9,10)
select sum(YuE_change) as YuE_C ,count(YuE_Change) as YuE_B  from Record_XF  where Mach_ID=6  and left(date_Time,7)>='2026-10' and left(date_Time,7)<='2026-11' and XF_Type=175
select sum(YuCi_change) as YuCi_C ,count(YuCi_Change) as YuCi_B  from Record_XF  where Mach_ID=6  and left(date_Time,7)>='2026-10' and left(date_Time,7)<='2026-11' and XF_Type=177
select sum(YuE_change) as YuE_C ,count(YuE_Change) as YuE_B  from Record_XF  where Mach_ID=6  and left(date_Time,7)>='2026-10' and left(date_Time,7)<='2026-11' and XF_Type=166
select sum(YuCi_change) as YuCi_C ,count(YuCi_Change) as YuCi_B  from Record_XF  where Mach_ID=6  and left(date_Time,7)>='2026-10' and left(date_Time,7)<='2026-11' and XF_Type=168
select sum(YuE_change) as YuE_C ,count(YuE_Change) as YuE_B  from Record_XF  where Mach_ID=6  and left(date_Time,7)>='2026-10' and left(date_Time,7)<='2026-11' and XF_Type in(1,2) and XF_Meal=1
select sum(YuCi_change) as YuCi_C ,count(YuCi_Change) as YuCi_B  from Record_XF  where Mach_ID=6  and left(date_Time,7)>='2026-10' and left(date_Time,7)<='2026-11' and XF_Type=3 and XF_Meal=1
select sum(YuE_change) as YuE_C ,count(YuE_Change) as YuE_B  from Record_XF  where Mach_ID=6  and left(date_Time,7)>='2026-10' and left(date_Time,7)<='2026-11' and XF_Type in(1,2) and XF_Meal=2
select sum(YuCi_change) as YuCi_C ,count(YuCi_Change) as YuCi_B  from Record_XF  where Mach_ID=6  and left(date_Time,7)>='2026-10' and left(date_Time,7)<='2026-11' and XF_Type=3 and XF_Meal=2
select sum(YuE_change) as YuE_C ,count(YuE_Change) as YuE_B  from Record_XF  where Mach_ID=6  and left(date_Time,7)>='2026-10' and left(date_Time,7)<='2026-11' and XF_Type in(1,2) and XF_Meal=3
select sum(YuCi_change) as YuCi_C ,count(YuCi_Change) as YuCi_B  from Record_XF  where Mach_ID=6  and left(date_Time,7)>='2026-10' and left(date_Time,7)<='2026-11' and XF_Type=3 and XF_Meal=3
select sum(YuE_change) as YuE_C ,count(YuE_Change) as YuE_B  from Record_XF  where Mach_ID=6  and left(date_Time,7)>='2026-10' and left(date_Time,7)<='2026-11' and XF_Type in(1,2) and XF_Meal=4
select sum(YuCi_change) as YuCi_C ,count(YuCi_Change) as YuCi_B  from Record_XF  where Mach_ID=6  and left(date_Time,7)>='2026-10' and left(date_Time,7)<='2026-11' and XF_Type=3 and XF_Meal=4
select sum(YuE_change) as YuE_C ,count(YuE_Change) as YuE_B  from Record_XF  where Mach_ID=6  and left(date_Time,7)>='2026-10' and left(date_Time,7)<='2026-11' and XF_Type in(1,2) and XF_Meal=5
select sum(YuCi_change) as YuCi_C ,count(YuCi_Change) as YuCi_B  from Record_XF  where Mach_ID=6  and left(date_Time,7)>='2026-10' and left(date_Time,7)<='2026-11' and XF_Type=3 and XF_Meal=5
select sum(YuE_change) as YuE_C ,count(YuE_Change) as YuE_B  from Record_XF  where Mach_ID=6  and left(date_Time,7)>='2026-10' and left(date_Time,7)<='2026-11' and XF_Type in(1,2,201,179)
select sum(YuCi_change) as YuCi_C ,count(YuCi_Change) as YuCi_B  from Record_XF  where Mach_ID=6  and left(date_Time,7)>='2026-10' and left(date_Time,7)<='2026-11' and XF_Type=3
select sum(YuE_change) as YuE_C ,count(YuE_Change) as YuE_B  from Record_XF  where Mach_ID=6  and left(date_Time,7)>='2026-10' and left(date_Time,7)<='2026-11' and XF_Type in(17,181)
select sum(YuE_change) as YuE_C ,count(YuE_Change) as YuE_B  from Record_XF  where Mach_ID=6  and left(Date_Time,7)='2026-10' and XF_Type in(161,202,169,170,174,129)
select sum(YuCi_change) as YuCi_C ,count(YuCi_Change) as YuCi_B  from Record_XF  where Mach_ID=6  and left(Date_Time,7)='2026-10' and XF_Type in (163,171,172)
select sum(YuE_change) as YuE_C ,count(YuE_Change) as YuE_B  from Record_XF  where Mach_ID=6  and left(Date_Time,7)='2026-10' and XF_Type in(5,6)
select sum(YuCi_change) as YuCi_C ,count(YuCi_Change) as YuCi_B  from Record_XF  where Mach_ID=6  and left(Date_Time,7)='2026-10' and XF_Type in(7,8)
select sum(YuE_change) as YuE_C ,count(YuE_Change) as YuE_B  from Record_XF  where Mach_ID=6  and left(Date_Time,7)='2026-10' and XF_Type=11
select sum(YuE_change) as YuE_C ,count(YuE_Change) as YuE_B  from Record_XF  where Mach_ID=6  and left(Date_Time,7)='2026-10' and XF_Type in(173,174)
select sum(YuCi_change) as YuCi_C ,count(YuCi_Change) as YuCi_B  from Record_XF  where Mach_ID=6  and left(Date_Time,7)='2026-10' and XF_Type=13
select sum(YuE_change) as YuE_C ,count(YuE_Change) as YuE_B  from Record_XF  where Mach_ID=6  and left(Date_Time,7)='2026-10' and XF_Type=162
select sum(YuE_change) as YuE_C ,count(YuE_Change) as YuE_B  from Record_XF  where Mach_ID=6  and left(Date_Time,7)='2026-10' and XF_Type in(9,10)
select sum(YuE_change) as YuE_C ,count(YuE_Change) as YuE_B  from Record_XF  where Mach_ID=6  and left(Date_Time,7)='2026-10' and XF_Type=175
select sum(YuCi_change) as YuCi_C ,count(YuCi_Change) as YuCi_B  from Record_XF  where Mach_ID=6  and left(Date_Time,7)='2026-10' and XF_Type=177
select sum(YuE_change) as YuE_C ,count(YuE_Change) as YuE_B  from Record_XF  where Mach_ID=6  and left(Date_Time,7)='2026-10' and XF_Type=166
select sum(YuCi_change) as YuCi_C ,count(YuCi_Change) as YuCi_B  from Record_XF  where Mach_ID=6  and left(Date_Time,7)='2026-10' and XF_Type=168
select sum(YuE_change) as YuE_C ,count(YuE_Change) as YuE_B  from Record_XF  where Mach_ID=6  and left(Date_Time,7)='2026-10' and XF_Type in(1,2) and XF_Meal=1
select sum(YuCi_change) as YuCi_C ,count(YuCi_Change) as YuCi_B  from Record_XF  where Mach_ID=6  and left(Date_Time,7)='2026-10' and XF_Type=3 and XF_Meal=1
select sum(YuE_change) as YuE_C ,count(YuE_Change) as YuE_B  from Record_XF  where Mach_ID=6  and left(Date_Time,7)='2026-10' and XF_Type in(1,2) and XF_Meal=2
select sum(YuCi_change) as YuCi_C ,count(YuCi_Change) as YuCi_B  from Record_XF  where Mach_ID=6  and left(Date_Time,7)='2026-10' and XF_Type=3 and XF_Meal=2
select sum(YuE_change) as YuE_C ,count(YuE_Change) as YuE_B  from Record_XF  where Mach_ID=6  and left(Date_Time,7)='2026-10' and XF_Type in(1,2) and XF_Meal=3
select sum(YuCi_change) as YuCi_C ,count(YuCi_Change) as YuCi_B  from Record_XF  where Mach_ID=6  and left(Date_Time,7)='2026-10' and XF_Type=3 and XF_Meal=3
select sum(YuE_change) as YuE_C ,count(YuE_Change) as YuE_B  from Record_XF  where Mach_ID=6  and left(Date_Time,7)='2026-10' and XF_Type in(1,2) and XF_Meal=4
select sum(YuCi_change) as YuCi_C ,count(YuCi_Change) as YuCi_B  from Record_XF  where Mach_ID=6  and left(Date_Time,7)='2026-10' and XF_Type=3 and XF_Meal=4
select sum(YuE_change) as YuE_C ,count(YuE_Change) as YuE_B  from Record_XF  where Mach_ID=6  and left(Date_Time,7)='2026-10' and XF_Type in(1,2) and XF_Meal=5
select sum(YuCi_change) as YuCi_C ,count(YuCi_Change) as YuCi_B  from Record_XF  where Mach_ID=6  and left(Date_Time,7)='2026-10' and XF_Type=3 and XF_Meal=5
select sum(YuE_change) as YuE_C ,count(YuE_Change) as YuE_B  from Record_XF  where Mach_ID=6  and left(Date_Time,7)='2026-10' and XF_Type in(1,2,201,179)
select sum(YuCi_change) as YuCi_C ,count(YuCi_Change) as YuCi_B  from Record_XF  where Mach_ID=6  and left(Date_Time,7)='2026-10' and XF_Type=3
select sum(YuE_change) as YuE_C ,count(YuE_Change) as YuE_B  from Record_XF  where Mach_ID=6  and left(Date_Time,7)='2026-10' and XF_Type in(17,181)
select sum(YuE_Change) as YuE_C,count(YuE_Change) as Count_Bi  from Record_XF  where XF_Type in(1,2,201,179) and Mach_ID=6  and left(Date_Time,7)='2026-10' 
select sum(YuCi_Change) as YuCi_C,count(YuCi_Change) as Count_Ci_Bi from Record_XF  where XF_Type=3 and Mach_ID=6  and left(Date_Time,7)='2026-10' 
select sum(YuE_Change) as YuE_C,count(YuE_Change) as Count_Bi  from Record_XF  where XF_Type in(1,2) and XF_Meal=2 and Mach_ID=6  and left(Date_Time,7)='2026-10' 
select sum(YuCi_Change) as YuCi_C,count(YuCi_Change) as Count_Ci_Bi from Record_XF  where XF_Meal=2 and XF_Type=3 and Mach_ID=6  and left(Date_Time,7)='2026-10' 
select sum(YuE_Change) as YuE_C,count(YuE_Change) as Count_Bi  from Record_XF  where XF_Type in(1,2) and XF_Meal=3 and Mach_ID=6  and left(Date_Time,7)='2026-10' 
select sum(YuCi_Change) as YuCi_C,count(YuCi_Change) as Count_Ci_Bi from Record_XF  where XF_Meal=3 and XF_Type=3 and Mach_ID=6  and left(Date_Time,7)='2026-10' 
select sum(YuE_change) as YuE_C ,count(YuE_Change) as YuE_B  from Record_XF  where Mach_ID=6  and left(Date_Time,7)='2026-11' and XF_Type in(161,202,169,170,174,129)
select sum(YuCi_change) as YuCi_C ,count(YuCi_Change) as YuCi_B  from Record_XF  where Mach_ID=6  and left(Date_Time,7)='2026-11' and XF_Type in (163,171,172)
select sum(YuE_change) as YuE_C ,count(YuE_Change) as YuE_B  from Record_XF  where Mach_ID=6  and left(Date_Time,7)='2026-11' and XF_Type in(5,6)
select sum(YuCi_change) as YuCi_C ,count(YuCi_Change) as YuCi_B  from Record_XF  where Mach_ID=6  and left(Date_Time,7)='2026-11' and XF_Type in(7,8)
select sum(YuE_change) as YuE_C ,count(YuE_Change) as YuE_B  from Record_XF  where Mach_ID=6  and left(Date_Time,7)='2026-11' and XF_Type=11
select sum(YuE_change) as YuE_C ,count(YuE_Change) as YuE_B  from Record_XF  where Mach_ID=6  and left(Date_Time,7)='2026-11' and XF_Type in(173,174)
select sum(YuCi_change) as YuCi_C ,count(YuCi_Change) as YuCi_B  from Record_XF  where Mach_ID=6  and left(Date_Time,7)='2026-11' and XF_Type=13
select sum(YuE_change) as YuE_C ,count(YuE_Change) as YuE_B  from Record_XF  where Mach_ID=6  and left(Date_Time,7)='2026-11' and XF_Type=162
select sum(YuE_change) as YuE_C ,count(YuE_Change) as YuE_B  from Record_XF  where Mach_ID=6  and left(Date_Time,7)='2026-11' and XF_Type in(9,10)
select sum(YuE_change) as YuE_C ,count(YuE_Change) as YuE_B  from Record_XF  where Mach_ID=6  and left(Date_Time,7)='2026-11' and XF_Type=175
select sum(YuCi_change) as YuCi_C ,count(YuCi_Change) as YuCi_B  from Record_XF  where Mach_ID=6  and left(Date_Time,7)='2026-11' and XF_Type=177
select sum(YuE_change) as YuE_C ,count(YuE_Change) as YuE_B  from Record_XF  where Mach_ID=6  and left(Date_Time,7)='2026-11' and XF_Type=166
select sum(YuCi_change) as YuCi_C ,count(YuCi_Change) as YuCi_B  from Record_XF  where Mach_ID=6  and left(Date_Time,7)='2026-11' and XF_Type=168
select sum(YuE_change) as YuE_C ,count(YuE_Change) as YuE_B  from Record_XF  where Mach_ID=6  and left(Date_Time,7)='2026-11' and XF_Type in(1,2) and XF_Meal=1
select sum(YuCi_change) as YuCi_C ,count(YuCi_Change) as YuCi_B  from Record_XF  where Mach_ID=6  and left(Date_Time,7)='2026-11' and XF_Type=3 and XF_Meal=1
select sum(YuE_change) as YuE_C ,count(YuE_Change) as YuE_B  from Record_XF  where Mach_ID=6  and left(Date_Time,7)='2026-11' and XF_Type in(1,2) and XF_Meal=2
select sum(YuCi_change) as YuCi_C ,count(YuCi_Change) as YuCi_B  from Record_XF  where Mach_ID=6  and left(Date_Time,7)='2026-11' and XF_Type=3 and XF_Meal=2
select sum(YuE_change) as YuE_C ,count(YuE_Change) as YuE_B  from Record_XF  where Mach_ID=6  and left(Date_Time,7)='2026-11' and XF_Type in(1,2) and XF_Meal=3
select sum(YuCi_change) as YuCi_C ,count(YuCi_Change) as YuCi_B  from Record_XF  where Mach_ID=6  and left(Date_Time,7)='2026-11' and XF_Type=3 and XF_Meal=3
select sum(YuE_change) as YuE_C ,count(YuE_Change) as YuE_B  from Record_XF  where Mach_ID=6  and left(Date_Time,7)='2026-11' and XF_Type in(1,2) and XF_Meal=4
select sum(YuCi_change) as YuCi_C ,count(YuCi_Change) as YuCi_B  from Record_XF  where Mach_ID=6  and left(Date_Time,7)='2026-11' and XF_Type=3 and XF_Meal=4
select sum(YuE_change) as YuE_C ,count(YuE_Change) as YuE_B  from Record_XF  where Mach_ID=6  and left(Date_Time,7)='2026-11' and XF_Type in(1,2) and XF_Meal=5
select sum(YuCi_change) as YuCi_C ,count(YuCi_Change) as YuCi_B  from Record_XF  where Mach_ID=6  and left(Date_Time,7)='2026-11' and XF_Type=3 and XF_Meal=5
select sum(YuE_change) as YuE_C ,count(YuE_Change) as YuE_B  from Record_XF  where Mach_ID=6  and left(Date_Time,7)='2026-11' and XF_Type in(1,2,201,179)
select sum(YuCi_change) as YuCi_C ,count(YuCi_Change) as YuCi_B  from Record_XF  where Mach_ID=6  and left(Date_Time,7)='2026-11' and XF_Type=3
select sum(YuE_change) as YuE_C ,count(YuE_Change) as YuE_B  from Record_XF  where Mach_ID=6  and left(Date_Time,7)='2026-11' and XF_Type in(17,181)
select sum(YuE_Change) as YuE_C,count(YuE_Change) as Count_Bi  from Record_XF  where XF_Type in(1,2,201,179) and Mach_ID=6  and left(Date_Time,7)='2026-11' 
select sum(YuCi_Change) as YuCi_C,count(YuCi_Change) as Count_Ci_Bi from Record_XF  where XF_Type=3 and Mach_ID=6  and left(Date_Time,7)='2026-11' 
select sum(YuE_Change) as YuE_C,count(YuE_Change) as Count_Bi  from Record_XF  where XF_Type in(1,2) and XF_Meal=2 and Mach_ID=6  and left(Date_Time,7)='2026-11' 
select sum(YuCi_Change) as YuCi_C,count(YuCi_Change) as Count_Ci_Bi from Record_XF  where XF_Meal=2 and XF_Type=3 and Mach_ID=6  and left(Date_Time,7)='2026-11' 
select sum(YuE_Change) as YuE_C,count(YuE_Change) as Count_Bi  from Record_XF  where XF_Type in(1,2) and XF_Meal=3 and Mach_ID=6  and left(Date_Time,7)='2026-11' 
select sum(YuCi_Change) as YuCi_C,count(YuCi_Change) as Count_Ci_Bi from Record_XF  where XF_Meal=3 and XF_Type=3 and Mach_ID=6  and left(Date_Time,7)='2026-11' 
select sum(YuE_change) as YuE_C ,count(YuE_Change) as YuE_B  from Record_XF  where Mach_ID=7  and left(date_Time,7)>='2026-10' and left(date_Time,7)<='2026-11' and XF_Type in(161,202,169,170,174,129)
select sum(YuCi_change) as YuCi_C ,count(YuCi_Change) as YuCi_B  from Record_XF  where Mach_ID=7  and left(date_Time,7)>='2026-10' and left(date_Time,7)<='2026-11' and XF_Type in (163,171,172)
select sum(YuE_change) as YuE_C ,count(YuE_Change) as YuE_B  from Record_XF  where Mach_ID=7  and left(date_Time,7)>='2026-10' and left(date_Time,7)<='2026-11' and XF_Type in(5,6)
select sum(YuCi_change) as YuCi_C ,count(YuCi_Change) as YuCi_B  from Record_XF  where Mach_ID=7  and left(date_Time,7)>='2026-10' and left(date_Time,7)<='2026-11' and XF_Type in(7,8)
select sum(YuE_change) as YuE_C ,count(YuE_Change) as YuE_B  from Record_XF  where Mach_ID=7  and left(date_Time,7)>='2026-10' and left(date_Time,7)<='2026-11' and XF_Type=11
select sum(YuE_change) as YuE_C ,count(YuE_Change) as YuE_B  from Record_XF  where Mach_ID=7  and left(date_Time,7)>='2026-10' and left(date_Time,7)<='2026-11' and XF_Type in(173,174)
select sum(YuCi_change) as YuCi_C ,count(YuCi_Change) as YuCi_B  from Record_XF  where Mach_ID=7  and left(date_Time,7)>='2026-10' and left(date_Time,7)<='2026-11' and XF_Type=13
select sum(YuE_change) as YuE_C ,count(YuE_Change) as YuE_B  from Record_XF  where Mach_ID=7  and left(date_Time,7)>='2026-10' and left(date_Time,7)<='2026-11' and XF_Type=162
select sum(YuE_change) as YuE_C ,count(YuE_Change) as YuE_B  from Record_XF  where Mach_ID=7  and left(date_Time,7)>='2026-10' and left(date_Time,7)<='2026-11' and XF_Type in(9,10)
select sum(YuE_change) as YuE_C ,count(YuE_Change) as YuE_B  from Record_XF  where Mach_ID=7  and left(date_Time,7)>='2026-10' and left(date_Time,7)<='2026-11' and XF_Type=175
select sum(YuCi_change) as YuCi_C ,count(YuCi_Change) as YuCi_B  from Record_XF  where Mach_ID=7  and left(date_Time,7)>='2026-10' and left(date_Time,7)<='2026-11' and XF_Type=177
select sum(YuE_change) as YuE_C ,count(YuE_Change) as YuE_B  from Record_XF  where Mach_ID=7  and left(date_Time,7)>='2026-10' and left(date_Time,7)<='2026-11' and XF_Type=166
select sum(YuCi_change) as YuCi_C ,count(YuCi_Change) as YuCi_B  from Record_XF  where Mach_ID=7  and left(date_Time,7)>='2026-10' and left(date_Time,7)<='2026-11' and XF_Type=168
select sum(YuE_change) as YuE_C ,count(YuE_Change) as YuE_B  from Record_XF  where Mach_ID=7  and left(date_Time,7)>='2026-10' and left(date_Time,7)<='2026-11' and XF_Type in(1,2) and XF_Meal=1
select sum(YuCi_change) as YuCi_C ,count(YuCi_Change) as YuCi_B  from Record_XF  where Mach_ID=7  and left(date_Time,7)>='2026-10' and left(date_Time,7)<='2026-11' and XF_Type=3 and XF_Meal=1
select sum(YuE_change) as YuE_C ,count(YuE_Change) as YuE_B  from Record_XF  where Mach_ID=7  and left(date_Time,7)>='2026-10' and left(date_Time,7)<='2026-11' and XF_Type in(1,2) and XF_Meal=2
select sum(YuCi_change) as YuCi_C ,count(YuCi_Change) as YuCi_B  from Record_XF  where Mach_ID=7  and left(date_Time,7)>='2026-10' and left(date_Time,7)<='2026-11' and XF_Type=3 and XF_Meal=2
select sum(YuE_change) as YuE_C ,count(YuE_Change) as YuE_B  from Record_XF  where Mach_ID=7  and left(date_Time,7)>='2026-10' and left(date_Time,7)<='2026-11' and XF_Type in(1,2) and XF_Meal=3
select sum(YuCi_change) as YuCi_C ,count(YuCi_Change) as YuCi_B  from Record_XF  where Mach_ID=7  and left(date_Time,7)>='2026-10' and left(date_Time,7)<='2026-11' and XF_Type=3 and XF_Meal=3
select sum(YuE_change) as YuE_C ,count(YuE_Change) as YuE_B  from Record_XF  where Mach_ID=7  and left(date_Time,7)>='2026-10' and left(date_Time,7)<='2026-11' and XF_Type in(1,2) and XF_Meal=4
select sum(YuCi_change) as YuCi_C ,count(YuCi_Change) as YuCi_B  from Record_XF  where Mach_ID=7  and left(date_Time,7)>='2026-10' and left(date_Time,7)<='2026-11' and XF_Type=3 and XF_Meal=4
select sum(YuE_change) as YuE_C ,count(YuE_Change) as YuE_B  from Record_XF  where Mach_ID=7  and left(date_Time,7)>='2026-10' and left(date_Time,7)<='2026-11' and XF_Type in(1,2) and XF_Meal=5
select sum(YuCi_change) as YuCi_C ,count(YuCi_Change) as YuCi_B  from Record_XF  where Mach_ID=7  and left(date_Time,7)>='2026-10' and left(date_Time,7)<='2026-11' and XF_Type=3 and XF_Meal=5
select sum(YuE_change) as YuE_C ,count(YuE_Change) as YuE_B  from Record_XF  where Mach_ID=7  and left(date_Time,7)>='2026-10' and left(date_Time,7)<='2026-11' and XF_Type in(1,2,201,179)
select sum(YuCi_change) as YuCi_C ,count(YuCi_Change) as YuCi_B  from Record_XF  where Mach_ID=7  and left(date_Time,7)>='2026-10' and left(date_Time,7)<='2026-11' and XF_Type=3
select sum(YuE_change) as YuE_C ,count(YuE_Change) as YuE_B  from Record_XF  where Mach_ID=7  and left(date_Time,7)>='2026-10' and left(date_Time,7)<='2026-11' and XF_Type in(17,181)
select sum(YuE_change) as YuE_C ,count(YuE_Change) as YuE_B  from Record_XF  where Mach_ID=7  and left(Date_Time,7)='2026-10' and XF_Type in(161,202,169,170,174,129)
select sum(YuCi_change) as YuCi_C ,count(YuCi_Change) as YuCi_B  from Record_XF  where Mach_ID=7  and left(Date_Time,7)='2026-10' and XF_Type in (163,171,172)
select sum(YuE_change) as YuE_C ,count(YuE_Change) as YuE_B  from Record_XF  where Mach_ID=7  and left(Date_Time,7)='2026-10' and XF_Type in(5,6)
select sum(YuCi_change) as YuCi_C ,count(YuCi_Change) as YuCi_B  from Record_XF  where Mach_ID=7  and left(Date_Time,7)='2026-10' and XF_Type in(7,8)
select sum(YuE_change) as YuE_C ,count(YuE_Change) as YuE_B  from Record_XF  where Mach_ID=7  and left(Date_Time,7)='2026-10' and XF_Type=11
select sum(YuE_change) as YuE_C ,count(YuE_Change) as YuE_B  from Record_XF  where Mach_ID=7  and left(Date_Time,7)='2026-10' and XF_Type in(173,174)
select sum(YuCi_change) as YuCi_C ,count(YuCi_Change) as YuCi_B  from Record_XF  where Mach_ID=7  and left(Date_Time,7)='2026-10' and XF_Type=13
select sum(YuE_change) as YuE_C ,count(YuE_Change) as YuE_B  from Record_XF  where Mach_ID=7  and left(Date_Time,7)='2026-10' and XF_Type=162
select sum(YuE_change) as YuE_C ,count(YuE_Change) as YuE_B  from Record_XF  where Mach_ID=7  and left(Date_Time,7)='2026-10' and XF_Type in(9,10)
select sum(YuE_change) as YuE_C ,count(YuE_Change) as YuE_B  from Record_XF  where Mach_ID=7  and left(Date_Time,7)='2026-10' and XF_Type=175
select sum(YuCi_change) as YuCi_C ,count(YuCi_Change) as YuCi_B  from Record_XF  where Mach_ID=7  and left(Date_Time,7)='2026-10' and XF_Type=177
select sum(YuE_change) as YuE_C ,count(YuE_Change) as YuE_B  from Record_XF  where Mach_ID=7  and left(Date_Time,7)='2026-10' and XF_Type=166
select sum(YuCi_change) as YuCi_C ,count(YuCi_Change) as YuCi_B  from Record_XF  where Mach_ID=7  and left(Date_Time,7)='2026-10' and XF_Type=168
select sum(YuE_change) as YuE_C ,count(YuE_Change) as YuE_B  from Record_XF  where Mach_ID=7  and left(Date_Time,7)='2026-10' and XF_Type in(1,2) and XF_Meal=1
select sum(YuCi_change) as YuCi_C ,count(YuCi_Change) as YuCi_B  from Record_XF  where Mach_ID=7  and left(Date_Time,7)='2026-10' and XF_Type=3 and XF_Meal=1
select sum(YuE_change) as YuE_C ,count(YuE_Change) as YuE_B  from Record_XF  where Mach_ID=7  and left(Date_Time,7)='2026-10' and XF_Type in(1,2) and XF_Meal=2
select sum(YuCi_change) as YuCi_C ,count(YuCi_Change) as YuCi_B  from Record_XF  where Mach_ID=7  and left(Date_Time,7)='2026-10' and XF_Type=3 and XF_Meal=2
select sum(YuE_change) as YuE_C ,count(YuE_Change) as YuE_B  from Record_XF  where Mach_ID=7  and left(Date_Time,7)='2026-10' and XF_Type in(1,2) and XF_Meal=3
select sum(YuCi_change) as YuCi_C ,count(YuCi_Change) as YuCi_B  from Record_XF  where Mach_ID=7  and left(Date_Time,7)='2026-10' and XF_Type=3 and XF_Meal=3
select sum(YuE_change) as YuE_C ,count(YuE_Change) as YuE_B  from Record_XF  where Mach_ID=7  and left(Date_Time,7)='2026-10' and XF_Type in(1,2) and XF_Meal=4
select sum(YuCi_change) as YuCi_C ,count(YuCi_Change) as YuCi_B  from Record_XF  where Mach_ID=7  and left(Date_Time,7)='2026-10' and XF_Type=3 and XF_Meal=4
select sum(YuE_change) as YuE_C ,count(YuE_Change) as YuE_B  from Record_XF  where Mach_ID=7  and left(Date_Time,7)='2026-10' and XF_Type in(1,2) and XF_Meal=5
select sum(YuCi_change) as YuCi_C ,count(YuCi_Change) as YuCi_B  from Record_XF  where Mach_ID=7  and left(Date_Time,7)='2026-10' and XF_Type=3 and XF_Meal=5
select sum(YuE_change) as YuE_C ,count(YuE_Change) as YuE_B  from Record_XF  where Mach_ID=7  and left(Date_Time,7)='2026-10' and XF_Type in(1,2,201,179)
select sum(YuCi_change) as YuCi_C ,count(YuCi_Change) as YuCi_B  from Record_XF  where Mach_ID=7  and left(Date_Time,7)='2026-10' and XF_Type=3
select sum(YuE_change) as YuE_C ,count(YuE_Change) as YuE_B  from Record_XF  where Mach_ID=7  and left(Date_Time,7)='2026-10' and XF_Type in(17,181)
select sum(YuE_Change) as YuE_C,count(YuE_Change) as Count_Bi  from Record_XF  where XF_Type in (5,6) and Mach_ID=7  and left(Date_Time,7)='2026-10' 
select sum(YuCi_Change) as YuCi_C,count(YuCi_Change) as Count_Ci_Bi from Record_XF  where XF_Type in (7,8) and Mach_ID=7  and left(Date_Time,7)='2026-10' 
select sum(YuE_Change) as YuE_C,count(YuE_Change) as Count_Bi  from Record_XF  where XF_Type in(9,10) and Mach_ID=7  and left(Date_Time,7)='2026-10' 
select sum(YuE_change) as YuE_C ,count(YuE_Change) as YuE_B  from Record_XF  where Mach_ID=7  and left(Date_Time,7)='2026-11' and XF_Type in(161,202,169,170,174,129)
select sum(YuCi_change) as YuCi_C ,count(YuCi_Change) as YuCi_B  from Record_XF  where Mach_ID=7  and left(Date_Time,7)='2026-11' and XF_Type in (163,171,172)
select sum(YuE_change) as YuE_C ,count(YuE_Change) as YuE_B  from Record_XF  where Mach_ID=7  and left(Date_Time,7)='2026-11' and XF_Type in(5,6)
select sum(YuCi_change) as YuCi_C ,count(YuCi_Change) as YuCi_B  from Record_XF  where Mach_ID=7  and left(Date_Time,7)='2026-11' and XF_Type in(7,8)
select sum(YuE_change) as YuE_C ,count(YuE_Change) as YuE_B  from Record_XF  where Mach_ID=7  and left(Date_Time,7)='2026-11' and XF_Type=11
select sum(YuE_change) as YuE_C ,count(YuE_Change) as YuE_B  from Record_XF  where Mach_ID=7  and left(Date_Time,7)='2026-11' and XF_Type in(173,174)
select sum(YuCi_change) as YuCi_C ,count(YuCi_Change) as YuCi_B  from Record_XF  where Mach_ID=7  and left(Date_Time,7)='2026-11' and XF_Type=13
select sum(YuE_change) as YuE_C ,count(YuE_Change) as YuE_B  from Record_XF  where Mach_ID=7  and left(Date_Time,7)='2026-11' and XF_Type=162
select sum(YuE_change) as YuE_C ,count(YuE_Change) as YuE_B  from Record_XF  where Mach_ID=7  and left(Date_Time,7)='2026-11' and XF_Type in(9,10)
select sum(YuE_change) as YuE_C ,count(YuE_Change) as YuE_B  from Record_XF  where Mach_ID=7  and left(Date_Time,7)='2026-11' and XF_Type=175
select sum(YuCi_change) as YuCi_C ,count(YuCi_Change) as YuCi_B  from Record_XF  where Mach_ID=7  and left(Date_Time,7)='2026-11' and XF_Type=177
select sum(YuE_change) as YuE_C ,count(YuE_Change) as YuE_B  from Record_XF  where Mach_ID=7  and left(Date_Time,7)='2026-11' and XF_Type=166
select sum(YuCi_change) as YuCi_C ,count(YuCi_Change) as YuCi_B  from Record_XF  where Mach_ID=7  and left(Date_Time,7)='2026-11' and XF_Type=168
select sum(YuE_change) as YuE_C ,count(YuE_Change) as YuE_B  from Record_XF  where Mach_ID=7  and left(Date_Time,7)='2026-11' and XF_Type in(1,2) and XF_Meal=1
select sum(YuCi_change) as YuCi_C ,count(YuCi_Change) as YuCi_B  from Record_XF  where Mach_ID=7  and left(Date_Time,7)='2026-11' and XF_Type=3 and XF_Meal=1
select sum(YuE_change) as YuE_C ,count(YuE_Change) as YuE_B  from Record_XF  where Mach_ID=7  and left(Date_Time,7)='2026-11' and XF_Type in(1,2) and XF_Meal=2
select sum(YuCi_change) as YuCi_C ,count(YuCi_Change) as YuCi_B  from Record_XF  where Mach_ID=7  and left(Date_Time,7)='2026-11' and XF_Type=3 and XF_Meal=2
select sum(YuE_change) as YuE_C ,count(YuE_Change) as YuE_B  from Record_XF  where Mach_ID=7  and left(Date_Time,7)='2026-11' and XF_Type in(1,2) and XF_Meal=3
select sum(YuCi_change) as YuCi_C ,count(YuCi_Change) as YuCi_B  from Record_XF  where Mach_ID=7  and left(Date_Time,7)='2026-11' and XF_Type=3 and XF_Meal=3
select sum(YuE_change) as YuE_C ,count(YuE_Change) as YuE_B  from Record_XF  where Mach_ID=7  and left(Date_Time,7)='2026-11' and XF_Type in(1,2) and XF_Meal=4
select sum(YuCi_change) as YuCi_C ,count(YuCi_Change) as YuCi_B  from Record_XF  where Mach_ID=7  and left(Date_Time,7)='2026-11' and XF_Type=3 and XF_Meal=4
select sum(YuE_change) as YuE_C ,count(YuE_Change) as YuE_B  from Record_XF  where Mach_ID=7  and left(Date_Time,7)='2026-11' and XF_Type in(1,2) and XF_Meal=5
select sum(YuCi_change) as YuCi_C ,count(YuCi_Change) as YuCi_B  from Record_XF  where Mach_ID=7  and left(Date_Time,7)='2026-11' and XF_Type=3 and XF_Meal=5
select sum(YuE_change) as YuE_C ,count(YuE_Change) as YuE_B  from Record_XF  where Mach_ID=7  and left(Date_Time,7)='2026-11' and XF_Type in(1,2,201,179)
select sum(YuCi_change) as YuCi_C ,count(YuCi_Change) as YuCi_B  from Record_XF  where Mach_ID=7  and left(Date_Time,7)='2026-11' and XF_Type=3
select sum(YuE_change) as YuE_C ,count(YuE_Change) as YuE_B  from Record_XF  where Mach_ID=7  and left(Date_Time,7)='2026-11' and XF_Type in(17,181)
select sum(YuE_Change) as YuE_C,count(YuE_Change) as Count_Bi  from Record_XF  where XF_Type in (5,6) and Mach_ID=7  and left(Date_Time,7)='2026-11' 
select sum(YuCi_Change) as YuCi_C,count(YuCi_Change) as Count_Ci_Bi from Record_XF  where XF_Type in (7,8) and Mach_ID=7  and left(Date_Time,7)='2026-11' 
select sum(YuE_Change) as YuE_C,count(YuE_Change) as Count_Bi  from Record_XF  where XF_Type in(9,10) and Mach_ID=7  and left(Date_Time,7)='2026-11' 
select sum(YuE_change) as YuE_C ,count(YuE_Change) as YuE_B  from Record_XF  where Mach_ID=8  and left(date_Time,7)>='2026-10' and left(date_Time,7)<='2026-11' and XF_Type in(161,202,169,170,174,129)
select sum(YuCi_change) as YuCi_C ,count(YuCi_Change) as YuCi_B  from Record_XF  where Mach_ID=8  and left(date_Time,7)>='2026-10' and left(date_Time,7)<='2026-11' and XF_Type in (163,171,172)
select sum(YuE_change) as YuE_C ,count(YuE_Change) as YuE_B  from Record_XF  where Mach_ID=8  and left(date_Time,7)>='2026-10' and left(date_Time,7)<='2026-11' and XF_Type in(5,6)
select sum(YuCi_change) as YuCi_C ,count(YuCi_Change) as YuCi_B  from Record_XF  where Mach_ID=8  and left(date_Time,7)>='2026-10' and left(date_Time,7)<='2026-11' and XF_Type in(7,8)
select sum(YuE_change) as YuE_C ,count(YuE_Change) as YuE_B  from Record_XF  where Mach_ID=8  and left(date_Time,7)>='2026-10' and left(date_Time,7)<='2026-11' and XF_Type=11
select sum(YuE_change) as YuE_C ,count(YuE_Change) as YuE_B  from Record_XF  where Mach_ID=8  and left(date_Time,7)>='2026-10' and left(date_Time,7)<='2026-11' and XF_Type in(173,174)
select sum(YuCi_change) as YuCi_C ,count(YuCi_Change) as YuCi_B  from Record_XF  where Mach_ID=8  and left(date_Time,7)>='2026-10' and left(date_Time,7)<='2026-11' and XF_Type=13
select sum(YuE_change) as YuE_C ,count(YuE_Change) as YuE_B  from Record_XF  where Mach_ID=8  and left(date_Time,7)>='2026-10' and left(date_Time,7)<='2026-11' and XF_Type=162
select sum(YuE_change) as YuE_C ,count(YuE_Change) as YuE_B  from Record_XF  where Mach_ID=8  and left(date_Time,7)>='2026-10' and left(date_Time,7)<='2026-11' and XF_Type in(9,10)
select sum(YuE_change) as YuE_C ,count(YuE_Change) as YuE_B  from Record_XF  where Mach_ID=8  and left(date_Time,7)>='2026-10' and left(date_Time,7)<='2026-11' and XF_Type=175
select sum(YuCi_change) as YuCi_C ,count(YuCi_Change) as YuCi_B  from Record_XF  where Mach_ID=8  and left(date_Time,7)>='2026-10' and left(date_Time,7)<='2026-11' and XF_Type=177
select sum(YuE_change) as YuE_C ,count(YuE_Change) as YuE_B  from Record_XF  where Mach_ID=8  and left(date_Time,7)>='2026-10' and left(date_Time,7)<='2026-11' and XF_Type=166
select sum(YuCi_change) as YuCi_C ,count(YuCi_Change) as YuCi_B  from Record_XF  where Mach_ID=8  and left(date_Time,7)>='2026-10' and left(date_Time,7)<='2026-11' and XF_Type=168
select sum(YuE_change) as YuE_C ,count(YuE_Change) as YuE_B  from Record_XF  where Mach_ID=8  and left(date_Time,7)>='2026-10' and left(date_Time,7)<='2026-11' and XF_Type in(1,2) and XF_Meal=1
select sum(YuCi_change) as YuCi_C ,count(YuCi_Change) as YuCi_B  from Record_XF  where Mach_ID=8  and left(date_Time,7)>='2026-10' and left(date_Time,7)<='2026-11' and XF_Type=3 and XF_Meal=1
select sum(YuE_change) as YuE_C ,count(YuE_Change) as YuE_B  from Record_XF  where Mach_ID=8  and left(date_Time,7)>='2026-10' and left(date_Time,7)<='2026-11' and XF_Type in(1,2) and XF_Meal=2
select sum(YuCi_change) as YuCi_C ,count(YuCi_Change) as YuCi_B  from Record_XF  where Mach_ID=8  and left(date_Time,7)>='2026-10' and left(date_Time,7)<='2026-11' and XF_Type=3 and XF_Meal=2
select sum(YuE_change) as YuE_C ,count(YuE_Change) as YuE_B  from Record_XF  where Mach_ID=8  and left(date_Time,7)>='2026-10' and left(date_Time,7)<='2026-11' and XF_Type in(1,2) and XF_Meal=3
select sum(YuCi_change) as YuCi_C ,count(YuCi_Change) as YuCi_B  from Record_XF  where Mach_ID=8  and left(date_Time,7)>='2026-10' and left(date_Time,7)<='2026-11' and XF_Type=3 and XF_Meal=3
select sum(YuE_change) as YuE_C ,count(YuE_Change) as YuE_B  from Record_XF  where Mach_ID=8  and left(date_Time,7)>='2026-10' and left(date_Time,7)<='2026-11' and XF_Type in(1,2) and XF_Meal=4
select sum(YuCi_change) as YuCi_C ,count(YuCi_Change) as YuCi_B  from Record_XF  where Mach_ID=8  and left(date_Time,7)>='2026-10' and left(date_Time,7)<='2026-11' and XF_Type=3 and XF_Meal=4
select sum(YuE_change) as YuE_C ,count(YuE_Change) as YuE_B  from Record_XF  where Mach_ID=8  and left(date_Time,7)>='2026-10' and left(date_Time,7)<='2026-11' and XF_Type in(1,2) and XF_Meal=5
select sum(YuCi_change) as YuCi_C ,count(YuCi_Change) as YuCi_B  from Record_XF  where Mach_ID=8  and left(date_Time,7)>='2026-10' and left(date_Time,7)<='2026-11' and XF_Type=3 and XF_Meal=5
select sum(YuE_change) as YuE_C ,count(YuE_Change) as YuE_B  from Record_XF  where Mach_ID=8  and left(date_Time,7)>='2026-10' and left(date_Time,7)<='2026-11' and XF_Type in(1,2,201,179)
select sum(YuCi_change) as YuCi_C ,count(YuCi_Change) as YuCi_B  from Record_XF  where Mach_ID=8  and left(date_Time,7)>='2026-10' and left(date_Time,7)<='2026-11' and XF_Type=3
select sum(YuE_change) as YuE_C ,count(YuE_Change) as YuE_B  from Record_XF  where Mach_ID=8  and left(date_Time,7)>='2026-10' and left(date_Time,7)<='2026-11' and XF_Type in(17,181)
select sum(YuE_change) as YuE_C ,count(YuE_Change) as YuE_B  from Record_XF  where Mach_ID=8  and left(Date_Time,7)='2026-10' and XF_Type in(161,202,169,170,174,129)
select sum(YuCi_change) as YuCi_C ,count(YuCi_Change) as YuCi_B  from Record_XF  where Mach_ID=8  and left(Date_Time,7)='2026-10' and XF_Type in (163,171,172)
select sum(YuE_change) as YuE_C ,count(YuE_Change) as YuE_B  from Record_XF  where Mach_ID=8  and left(Date_Time,7)='2026-10' and XF_Type in(5,6)
select sum(YuCi_change) as YuCi_C ,count(YuCi_Change) as YuCi_B  from Record_XF  where Mach_ID=8  and left(Date_Time,7)='2026-10' and XF_Type in(7,8)
select sum(YuE_change) as YuE_C ,count(YuE_Change) as YuE_B  from Record_XF  where Mach_ID=8  and left(Date_Time,7)='2026-10' and XF_Type=11
select sum(YuE_change) as YuE_C ,count(YuE_Change) as YuE_B  from Record_XF  where Mach_ID=8  and left(Date_Time,7)='2026-10' and XF_Type in(173,174)
select sum(YuCi_change) as YuCi_C ,count(YuCi_Change) as YuCi_B  from Record_XF  where Mach_ID=8  and left(Date_Time,7)='2026-10' and XF_Type=13
select sum(YuE_change) as YuE_C ,count(YuE_Change) as YuE_B  from Record_XF  where Mach_ID=8  and left(Date_Time,7)='2026-10' and XF_Type=162
select sum(YuE_change) as YuE_C ,count(YuE_Change) as YuE_B  from Record_XF  where Mach_ID=8  and left(Date_Time,7)='2026-10' and XF_Type in(9,10)
select sum(YuE_change) as YuE_C ,count(YuE_Change) as YuE_B  from Record_XF  where Mach_ID=8  and left(Date_Time,7)='2026-10' and XF_Type=175
select sum(YuCi_change) as YuCi_C ,count(YuCi_Change) as YuCi_B  from Record_XF  where Mach_ID=8  and left(Date_Time,7)='2026-10' and XF_Type=177
select sum(YuE_change) as YuE_C ,count(YuE_Change) as YuE_B  from Record_XF  where Mach_ID=8  and left(Date_Time,7)='2026-10' and XF_Type=166
select sum(YuCi_change) as YuCi_C ,count(YuCi_Change) as YuCi_B  from Record_XF  where Mach_ID=8  and left(Date_Time,7)='2026-10' and XF_Type=168
select sum(YuE_change) as YuE_C ,count(YuE_Change) as YuE_B  from Record_XF  where Mach_ID=8  and left(Date_Time,7)='2026-10' and XF_Type in(1,2) and XF_Meal=1
select sum(YuCi_change) as YuCi_C ,count(YuCi_Change) as YuCi_B  from Record_XF  where Mach_ID=8  and left(Date_Time,7)='2026-10' and XF_Type=3 and XF_Meal=1
select sum(YuE_change) as YuE_C ,count(YuE_Change) as YuE_B  from Record_XF  where Mach_ID=8  and left(Date_Time,7)='2026-10' and XF_Type in(1,2) and XF_Meal=2
select sum(YuCi_change) as YuCi_C ,count(YuCi_Change) as YuCi_B  from Record_XF  where Mach_ID=8  and left(Date_Time,7)='2026-10' and XF_Type=3 and XF_Meal=2
select sum(YuE_change) as YuE_C ,count(YuE_Change) as YuE_B  from Record_XF  where Mach_ID=8  and left(Date_Time,7)='2026-10' and XF_Type in(1,2) and XF_Meal=3
select sum(YuCi_change) as YuCi_C ,count(YuCi_Change) as YuCi_B  from Record_XF  where Mach_ID=8  and left(Date_Time,7)='2026-10' and XF_Type=3 and XF_Meal=3
select sum(YuE_change) as YuE_C ,count(YuE_Change) as YuE_B  from Record_XF  where Mach_ID=8  and left(Date_Time,7)='2026-10' and XF_Type in(1,2) and XF_Meal=4
select sum(YuCi_change) as YuCi_C ,count(YuCi_Change) as YuCi_B  from Record_XF  where Mach_ID=8  and left(Date_Time,7)='2026-10' and XF_Type=3 and XF_Meal=4
select sum(YuE_change) as YuE_C ,count(YuE_Change) as YuE_B  from Record_XF  where Mach_ID=8  and left(Date_Time,7)='2026-10' and XF_Type in(1,2) and XF_Meal=5
select sum(YuCi_change) as YuCi_C ,count(YuCi_Change) as YuCi_B  from Record_XF  where Mach_ID=8  and left(Date_Time,7)='2026-10' and XF_Type=3 and XF_Meal=5
select sum(YuE_change) as YuE_C ,count(YuE_Change) as YuE_B  from Record_XF  where Mach_ID=8  and left(Date_Time,7)='2026-10' and XF_Type in(1,2,201,179)
select sum(YuCi_change) as YuCi_C ,count(YuCi_Change) as YuCi_B  from Record_XF  where Mach_ID=8  and left(Date_Time,7)='2026-10' and XF_Type=3
select sum(YuE_change) as YuE_C ,count(YuE_Change) as YuE_B  from Record_XF  where Mach_ID=8  and left(Date_Time,7)='2026-10' and XF_Type in(17,181)
select sum(YuE_Change) as YuE_C,count(YuE_Change) as Count_Bi  from Record_XF  where XF_Type=11 and Mach_ID=8  and left(Date_Time,7)='2026-10' 
select sum(YuE_Change) as YuE_C,count(YuE_Change) as Count_Bi  from Record_XF  where XF_Type in(173,174) and Mach_ID=8  and left(Date_Time,7)='2026-10' 
select sum(YuCi_Change) as YuCi_C,count(YuCi_Change) as Count_Ci_Bi from Record_XF  where XF_Type=13 and Mach_ID=8  and left(Date_Time,7)='2026-10' 
select sum(YuE_change) as YuE_C ,count(YuE_Change) as YuE_B  from Record_XF  where Mach_ID=8  and left(Date_Time,7)='2026-11' and XF_Type in(161,202,169,170,174,129)
select sum(YuCi_change) as YuCi_C ,count(YuCi_Change) as YuCi_B  from Record_XF  where Mach_ID=8  and left(Date_Time,7)='2026-11' and XF_Type in (163,171,172)
select sum(YuE_change) as YuE_C ,count(YuE_Change) as YuE_B  from Record_XF  where Mach_ID=8  and left(Date_Time,7)='2026-11' and XF_Type in(5,6)
select sum(YuCi_change) as YuCi_C ,count(YuCi_Change) as YuCi_B  from Record_XF  where Mach_ID=8  and left(Date_Time,7)='2026-11' and XF_Type in(7,8)
select sum(YuE_change) as YuE_C ,count(YuE_Change) as YuE_B  from Record_XF  where Mach_ID=8  and left(Date_Time,7)='2026-11' and XF_Type=11
select sum(YuE_change) as YuE_C ,count(YuE_Change) as YuE_B  from Record_XF  where Mach_ID=8  and left(Date_Time,7)='2026-11' and XF_Type in(173,174)
select sum(YuCi_change) as YuCi_C ,count(YuCi_Change) as YuCi_B  from Record_XF  where Mach_ID=8  and left(Date_Time,7)='2026-11' and XF_Type=13
select sum(YuE_change) as YuE_C ,count(YuE_Change) as YuE_B  from Record_XF  where Mach_ID=8  and left(Date_Time,7)='2026-11' and XF_Type=162
select sum(YuE_change) as YuE_C ,count(YuE_Change) as YuE_B  from Record_XF  where Mach_ID=8  and left(Date_Time,7)='2026-11' and XF_Type in(9,10)
select sum(YuE_change) as YuE_C ,count(YuE_Change) as YuE_B  from Record_XF  where Mach_ID=8  and left(Date_Time,7)='2026-11' and XF_Type=175
select sum(YuCi_change) as YuCi_C ,count(YuCi_Change) as YuCi_B  from Record_XF  where Mach_ID=8  and left(Date_Time,7)='2026-11' and XF_Type=177
select sum(YuE_change) as YuE_C ,count(YuE_Change) as YuE_B  from Record_XF  where Mach_ID=8  and left(Date_Time,7)='2026-11' and XF_Type=166
select sum(YuCi_change) as YuCi_C ,count(YuCi_Change) as YuCi_B  from Record_XF  where Mach_ID=8  and left(Date_Time,7)='2026-11' and XF_Type=168
select sum(YuE_change) as YuE_C ,count(YuE_Change) as YuE_B  from Record_XF  where Mach_ID=8  and left(Date_Time,7)='2026-11' and XF_Type in(1,2) and XF_Meal=1
select sum(YuCi_change) as YuCi_C ,count(YuCi_Change) as YuCi_B  from Record_XF  where Mach_ID=8  and left(Date_Time,7)='2026-11' and XF_Type=3 and XF_Meal=1
select sum(YuE_change) as YuE_C ,count(YuE_Change) as YuE_B  from Record_XF  where Mach_ID=8  and left(Date_Time,7)='2026-11' and XF_Type in(1,2) and XF_Meal=2
select sum(YuCi_change) as YuCi_C ,count(YuCi_Change) as YuCi_B  from Record_XF  where Mach_ID=8  and left(Date_Time,7)='2026-11' and XF_Type=3 and XF_Meal=2
select sum(YuE_change) as YuE_C ,count(YuE_Change) as YuE_B  from Record_XF  where Mach_ID=8  and left(Date_Time,7)='2026-11' and XF_Type in(1,2) and XF_Meal=3
select sum(YuCi_change) as YuCi_C ,count(YuCi_Change) as YuCi_B  from Record_XF  where Mach_ID=8  and left(Date_Time,7)='2026-11' and XF_Type=3 and XF_Meal=3
select sum(YuE_change) as YuE_C ,count(YuE_Change) as YuE_B  from Record_XF  where Mach_ID=8  and left(Date_Time,7)='2026-11' and XF_Type in(1,2) and XF_Meal=4
select sum(YuCi_change) as YuCi_C ,count(YuCi_Change) as YuCi_B  from Record_XF  where Mach_ID=8  and left(Date_Time,7)='2026-11' and XF_Type=3 and XF_Meal=4
select sum(YuE_change) as YuE_C ,count(YuE_Change) as YuE_B  from Record_XF  where Mach_ID=8  and left(Date_Time,7)='2026-11' and XF_Type in(1,2) and XF_Meal=5
select sum(YuCi_change) as YuCi_C ,count(YuCi_Change) as YuCi_B  from Record_XF  where Mach_ID=8  and left(Date_Time,7)='2026-11' and XF_Type=3 and XF_Meal=5
select sum(YuE_change) as YuE_C ,count(YuE_Change) as YuE_B  from Record_XF  where Mach_ID=8  and left(Date_Time,7)='2026-11' and XF_Type in(1,2,201,179)
select sum(YuCi_change) as YuCi_C ,count(YuCi_Change) as YuCi_B  from Record_XF  where Mach_ID=8  and left(Date_Time,7)='2026-11' and XF_Type=3
select sum(YuE_change) as YuE_C ,count(YuE_Change) as YuE_B  from Record_XF  where Mach_ID=8  and left(Date_Time,7)='2026-11' and XF_Type in(17,181)
select sum(YuE_Change) as YuE_C,count(YuE_Change) as Count_Bi  from Record_XF  where XF_Type=11 and Mach_ID=8  and left(Date_Time,7)='2026-11' 
select sum(YuE_Change) as YuE_C,count(YuE_Change) as Count_Bi  from Record_XF  where XF_Type in(173,174) and Mach_ID=8  and left(Date_Time,7)='2026-11' 
select sum(YuCi_Change) as YuCi_C,count(YuCi_Change) as Count_Ci_Bi from Record_XF  where XF_Type=13 and Mach_ID=8  and left(Date_Time,7)='2026-11' 
select sum(YuE_change) as YuE_C ,count(YuE_Change) as YuE_B  from Record_XF  where Mach_ID=9  and left(date_Time,7)>='2026-10' and left(date_Time,7)<='2026-11' and XF_Type in(161,202,169,170,174,129)
select sum(YuCi_change) as YuCi_C ,count(YuCi_Change) as YuCi_B  from Record_XF  where Mach_ID=9  and left(date_Time,7)>='2026-10' and left(date_Time,7)<='2026-11' and XF_Type in (163,171,172)
select sum(YuE_change) as YuE_C ,count(YuE_Change) as YuE_B  from Record_XF  where Mach_ID=9  and left(date_Time,7)>='2026-10' and left(date_Time,7)<='2026-11' and XF_Type in(5,6)
select sum(YuCi_change) as YuCi_C ,count(YuCi_Change) as YuCi_B  from Record_XF  where Mach_ID=9  and left(date_Time,7)>='2026-10' and left(date_Time,7)<='2026-11' and XF_Type in(7,8)
select sum(YuE_change) as YuE_C ,count(YuE_Change) as YuE_B  from Record_XF  where Mach_ID=9  and left(date_Time,7)>='2026-10' and left(date_Time,7)<='2026-11' and XF_Type=11
select sum(YuE_change) as YuE_C ,count(YuE_Change) as YuE_B  from Record_XF  where Mach_ID=9  and left(date_Time,7)>='2026-10' and left(date_Time,7)<='2026-11' and XF_Type in(173,174)
select sum(YuCi_change) as YuCi_C ,count(YuCi_Change) as YuCi_B  from Record_XF  where Mach_ID=9  and left(date_Time,7)>='2026-10' and left(date_Time,7)<='2026-11' and XF_Type=13
select sum(YuE_change) as YuE_C ,count(YuE_Change) as YuE_B  from Record_XF  where Mach_ID=9  and left(date_Time,7)>='2026-10' and left(date_Time,7)<='2026-11' and XF_Type=162
select sum(YuE_change) as YuE_C ,count(YuE_Change) as YuE_B  from Record_XF  where Mach_ID=9  and left(date_Time,7)>='2026-10' and left(date_Time,7)<='2026-11' and XF_Type in(9,10)
select sum(YuE_change) as YuE_C ,count(YuE_Change) as YuE_B  from Record_XF  where Mach_ID=9  and left(date_Time,7)>='2026-10' and left(date_Time,7)<='2026-11' and XF_Type=175
select sum(YuCi_change) as YuCi_C ,count(YuCi_Change) as YuCi_B  from Record_XF  where Mach_ID=9  and left(date_Time,7)>='2026-10' and left(date_Time,7)<='2026-11' and XF_Type=177
select sum(YuE_change) as YuE_C ,count(YuE_Change) as YuE_B  from Record_XF  where Mach_ID=9  and left(date_Time,7)>='2026-10' and left(date_Time,7)<='2026-11' and XF_Type=166
select sum(YuCi_change) as YuCi_C ,count(YuCi_Change) as YuCi_B  from Record_XF  where Mach_ID=9  and left(date_Time,7)>='2026-10' and left(date_Time,7)<='2026-11' and XF_Type=168
select sum(YuE_change) as YuE_C ,count(YuE_Change) as YuE_B  from Record_XF  where Mach_ID=9  and left(date_Time,7)>='2026-10' and left(date_Time,7)<='2026-11' and XF_Type in(1,2) and XF_Meal=1
select sum(YuCi_change) as YuCi_C ,count(YuCi_Change) as YuCi_B  from Record_XF  where Mach_ID=9  and left(date_Time,7)>='2026-10' and left(date_Time,7)<='2026-11' and XF_Type=3 and XF_Meal=1
select sum(YuE_change) as YuE_C ,count(YuE_Change) as YuE_B  from Record_XF  where Mach_ID=9  and left(date_Time,7)>='2026-10' and left(date_Time,7)<='2026-11' and XF_Type in(1,2) and XF_Meal=2
select sum(YuCi_change) as YuCi_C ,count(YuCi_Change) as YuCi_B  from Record_XF  where Mach_ID=9  and left(date_Time,7)>='2026-10' and left(date_Time,7)<='2026-11' and XF_Type=3 and XF_Meal=2
select sum(YuE_change) as YuE_C ,count(YuE_Change) as YuE_B  from Record_XF  where Mach_ID=9  and left(date_Time,7)>='2026-10' and left(date_Time,7)<='2026-11' and XF_Type in(1,2) and XF_Meal=3
select sum(YuCi_change) as YuCi_C ,count(YuCi_Change) as YuCi_B  from Record_XF  where Mach_ID=9  and left(date_Time,7)>='2026-10' and left(date_Time,7)<='2026-11' and XF_Type=3 and XF_Meal=3
select sum(YuE_change) as YuE_C ,count(YuE_Change) as YuE_B  from Record_XF  where Mach_ID=9  and left(date_Time,7)>='2026-10' and left(date_Time,7)<='2026-11' and XF_Type in(1,2) and XF_Meal=4
select sum(YuCi_change) as YuCi_C ,count(YuCi_Change) as YuCi_B  from Record_XF  where Mach_ID=9  and left(date_Time,7)>='2026-10' and left(date_Time,7)<='2026-11' and XF_Type=3 and XF_Meal=4
select sum(YuE_change) as YuE_C ,count(YuE_Change) as YuE_B  from Record_XF  where Mach_ID=9  and left(date_Time,7)>='2026-10' and left(date_Time,7)<='2026-11' and XF_Type in(1,2) and XF_Meal=5
select sum(YuCi_change) as YuCi_C ,count(YuCi_Change) as YuCi_B  from Record_XF  where Mach_ID=9  and left(date_Time,7)>='2026-10' and left(date_Time,7)<='2026-11' and XF_Type=3 and XF_Meal=5
select sum(YuE_change) as YuE_C ,count(YuE_Change) as YuE_B  from Record_XF  where Mach_ID=9  and left(date_Time,7)>='2026-10' and left(date_Time,7)<='2026-11' and XF_Type in(1,2,201,179)
select sum(YuCi_change) as YuCi_C ,count(YuCi_Change) as YuCi_B  from Record_XF  where Mach_ID=9  and left(date_Time,7)>='2026-10' and left(date_Time,7)<='2026-11' and XF_Type=3
select sum(YuE_change) as YuE_C ,count(YuE_Change) as YuE_B  from Record_XF  where Mach_ID=9  and left(date_Time,7)>='2026-10' and left(date_Time,7)<='2026-11' and XF_Type in(17,181)
select sum(YuE_change) as YuE_C ,count(YuE_Change) as YuE_B  from Record_XF  where Mach_ID=9  and left(Date_Time,7)='2026-10' and XF_Type in(161,202,169,170,174,129)
select sum(YuCi_change) as YuCi_C ,count(YuCi_Change) as YuCi_B  from Record_XF  where Mach_ID=9  and left(Date_Time,7)='2026-10' and XF_Type in (163,171,172)
select sum(YuE_change) as YuE_C ,count(YuE_Change) as YuE_B  from Record_XF  where Mach_ID=9  and left(Date_Time,7)='2026-10' and XF_Type in(5,6)
select sum(YuCi_change) as YuCi_C ,count(YuCi_Change) as YuCi_B  from Record_XF  where Mach_ID=9  and left(Date_Time,7)='2026-10' and XF_Type in(7,8)
select sum(YuE_change) as YuE_C ,count(YuE_Change) as YuE_B  from Record_XF  where Mach_ID=9  and left(Date_Time,7)='2026-10' and XF_Type=11
select sum(YuE_change) as YuE_C ,count(YuE_Change) as YuE_B  from Record_XF  where Mach_ID=9  and left(Date_Time,7)='2026-10' and XF_Type in(173,174)
select sum(YuCi_change) as YuCi_C ,count(YuCi_Change) as YuCi_B  from Record_XF  where Mach_ID=9  and left(Date_Time,7)='2026-10' and XF_Type=13
select sum(YuE_change) as YuE_C ,count(YuE_Change) as YuE_B  from Record_XF  where Mach_ID=9  and left(Date_Time,7)='2026-10' and XF_Type=162
select sum(YuE_change) as YuE_C ,count(YuE_Change) as YuE_B  from Record_XF  where Mach_ID=9  and left(Date_Time,7)='2026-10' and XF_Type in(9,10)
select sum(YuE_change) as YuE_C ,count(YuE_Change) as YuE_B  from Record_XF  where Mach_ID=9  and left(Date_Time,7)='2026-10' and XF_Type=175
select sum(YuCi_change) as YuCi_C ,count(YuCi_Change) as YuCi_B  from Record_XF  where Mach_ID=9  and left(Date_Time,7)='2026-10' and XF_Type=177
select sum(YuE_change) as YuE_C ,count(YuE_Change) as YuE_B  from Record_XF  where Mach_ID=9  and left(Date_Time,7)='2026-10' and XF_Type=166
select sum(YuCi_change) as YuCi_C ,count(YuCi_Change) as YuCi_B  from Record_XF  where Mach_ID=9  and left(Date_Time,7)='2026-10' and XF_Type=168
select sum(YuE_change) as YuE_C ,count(YuE_Change) as YuE_B  from Record_XF  where Mach_ID=9  and left(Date_Time,7)='2026-10' and XF_Type in(1,2) and XF_Meal=1
select sum(YuCi_change) as YuCi_C ,count(YuCi_Change) as YuCi_B  from Record_XF  where Mach_ID=9  and left(Date_Time,7)='2026-10' and XF_Type=3 and XF_Meal=1
select sum(YuE_change) as YuE_C ,count(YuE_Change) as YuE_B  from Record_XF  where Mach_ID=9  and left(Date_Time,7)='2026-10' and XF_Type in(1,2) and XF_Meal=2
select sum(YuCi_change) as YuCi_C ,count(YuCi_Change) as YuCi_B  from Record_XF  where Mach_ID=9  and left(Date_Time,7)='2026-10' and XF_Type=3 and XF_Meal=2
select sum(YuE_change) as YuE_C ,count(YuE_Change) as YuE_B  from Record_XF  where Mach_ID=9  and left(Date_Time,7)='2026-10' and XF_Type in(1,2) and XF_Meal=3
select sum(YuCi_change) as YuCi_C ,count(YuCi_Change) as YuCi_B  from Record_XF  where Mach_ID=9  and left(Date_Time,7)='2026-10' and XF_Type=3 and XF_Meal=3
select sum(YuE_change) as YuE_C ,count(YuE_Change) as YuE_B  from Record_XF  where Mach_ID=9  and left(Date_Time,7)='2026-10' and XF_Type in(1,2) and XF_Meal=4
select sum(YuCi_change) as YuCi_C ,count(YuCi_Change) as YuCi_B  from Record_XF  where Mach_ID=9  and left(Date_Time,7)='2026-10' and XF_Type=3 and XF_Meal=4
select sum(YuE_change) as YuE_C ,count(YuE_Change) as YuE_B  from Record_XF  where Mach_ID=9  and left(Date_Time,7)='2026-10' and XF_Type in(1,2) and XF_Meal=5
select sum(YuCi_change) as YuCi_C ,count(YuCi_Change) as YuCi_B  from Record_XF  where Mach_ID=9  and left(Date_Time,7)='2026-10' and XF_Type=3 and XF_Meal=5
select sum(YuE_change) as YuE_C ,count(YuE_Change) as YuE_B  from Record_XF  where Mach_ID=9  and left(Date_Time,7)='2026-10' and XF_Type in(1,2,201,179)
select sum(YuCi_change) as YuCi_C ,count(YuCi_Change) as YuCi_B  from Record_XF  where Mach_ID=9  and left(Date_Time,7)='2026-10' and XF_Type=3
select sum(YuE_change) as YuE_C ,count(YuE_Change) as YuE_B  from Record_XF  where Mach_ID=9  and left(Date_Time,7)='2026-10' and XF_Type in(17,181)
select sum(YuE_Change) as YuE_C,count(YuE_Change) as Count_Bi  from Record_XF  where XF_Type=11 and Mach_ID=9  and left(Date_Time,7)='2026-10' 
select sum(YuE_Change) as YuE_C,count(YuE_Change) as Count_Bi  from Record_XF  where XF_Type in(173,174) and Mach_ID=9  and left(Date_Time,7)='2026-10' 
select sum(YuCi_Change) as YuCi_C,count(YuCi_Change) as Count_Ci_Bi from Record_XF  where XF_Type=13 and Mach_ID=9  and left(Date_Time,7)='2026-10' 
select sum(YuE_change) as YuE_C ,count(YuE_Change) as YuE_B  from Record_XF  where Mach_ID=9  and left(Date_Time,7)='2026-11' and XF_Type in(161,202,169,170,174,129)
select sum(YuCi_change) as YuCi_C ,count(YuCi_Change) as YuCi_B  from Record_XF  where Mach_ID=9  and left(Date_Time,7)='2026-11' and XF_Type in (163,171,172)
select sum(YuE_change) as YuE_C ,count(YuE_Change) as YuE_B  from Record_XF  where Mach_ID=9  and left(Date_Time,7)='2026-11' and XF_Type in(5,6)
select sum(YuCi_change) as YuCi_C ,count(YuCi_Change) as YuCi_B  from Record_XF  where Mach_ID=9  and left(Date_Time,7)='2026-11' and XF_Type in(7,8)
select sum(YuE_change) as YuE_C ,count(YuE_Change) as YuE_B  from Record_XF  where Mach_ID=9  and left(Date_Time,7)='2026-11' and XF_Type=11
select sum(YuE_change) as YuE_C ,count(YuE_Change) as YuE_B  from Record_XF  where Mach_ID=9  and left(Date_Time,7)='2026-11' and XF_Type in(173,174)
select sum(YuCi_change) as YuCi_C ,count(YuCi_Change) as YuCi_B  from Record_XF  where Mach_ID=9  and left(Date_Time,7)='2026-11' and XF_Type=13
select sum(YuE_change) as YuE_C ,count(YuE_Change) as YuE_B  from Record_XF  where Mach_ID=9  and left(Date_Time,7)='2026-11' and XF_Type=162
select sum(YuE_change) as YuE_C ,count(YuE_Change) as YuE_B  from Record_XF  where Mach_ID=9  and left(Date_Time,7)='2026-11' and XF_Type in(9,10)
select sum(YuE_change) as YuE_C ,count(YuE_Change) as YuE_B  from Record_XF  where Mach_ID=9  and left(Date_Time,7)='2026-11' and XF_Type=175
select sum(YuCi_change) as YuCi_C ,count(YuCi_Change) as YuCi_B  from Record_XF  where Mach_ID=9  and left(Date_Time,7)='2026-11' and XF_Type=177
select sum(YuE_change) as YuE_C ,count(YuE_Change) as YuE_B  from Record_XF  where Mach_ID=9  and left(Date_Time,7)='2026-11' and XF_Type=166
select sum(YuCi_change) as YuCi_C ,count(YuCi_Change) as YuCi_B  from Record_XF  where Mach_ID=9  and left(Date_Time,7)='2026-11' and XF_Type=168
select sum(YuE_change) as YuE_C ,count(YuE_Change) as YuE_B  from Record_XF  where Mach_ID=9  and left(Date_Time,7)='2026-11' and XF_Type in(1,2) and XF_Meal=1
select sum(YuCi_change) as YuCi_C ,count(YuCi_Change) as YuCi_B  from Record_XF  where Mach_ID=9  and left(Date_Time,7)='2026-11' and XF_Type=3 and XF_Meal=1
select sum(YuE_change) as YuE_C ,count(YuE_Change) as YuE_B  from Record_XF  where Mach_ID=9  and left(Date_Time,7)='2026-11' and XF_Type in(1,2) and XF_Meal=2
select sum(YuCi_change) as YuCi_C ,count(YuCi_Change) as YuCi_B  from Record_XF  where Mach_ID=9  and left(Date_Time,7)='2026-11' and XF_Type=3 and XF_Meal=2
select sum(YuE_change) as YuE_C ,count(YuE_Change) as YuE_B  from Record_XF  where Mach_ID=9  and left(Date_Time,7)='2026-11' and XF_Type in(1,2) and XF_Meal=3
select sum(YuCi_change) as YuCi_C ,count(YuCi_Change) as YuCi_B  from Record_XF  where Mach_ID=9  and left(Date_Time,7)='2026-11' and XF_Type=3 and XF_Meal=3
select sum(YuE_change) as YuE_C ,count(YuE_Change) as YuE_B  from Record_XF  where Mach_ID=9  and left(Date_Time,7)='2026-11' and XF_Type in(1,2) and XF_Meal=4
select sum(YuCi_change) as YuCi_C ,count(YuCi_Change) as YuCi_B  from Record_XF  where Mach_ID=9  and left(Date_Time,7)='2026-11' and XF_Type=3 and XF_Meal=4
select sum(YuE_change) as YuE_C ,count(YuE_Change) as YuE_B  from Record_XF  where Mach_ID=9  and left(Date_Time,7)='2026-11' and XF_Type in(1,2) and XF_Meal=5
select sum(YuCi_change) as YuCi_C ,count(YuCi_Change) as YuCi_B  from Record_XF  where Mach_ID=9  and left(Date_Time,7)='2026-11' and XF_Type=3 and XF_Meal=5
select sum(YuE_change) as YuE_C ,count(YuE_Change) as YuE_B  from Record_XF  where Mach_ID=9  and left(Date_Time,7)='2026-11' and XF_Type in(1,2,201,179)
select sum(YuCi_change) as YuCi_C ,count(YuCi_Change) as YuCi_B  from Record_XF  where Mach_ID=9  and left(Date_Time,7)='2026-11' and XF_Type=3
select sum(YuE_change) as YuE_C ,count(YuE_Change) as YuE_B  from Record_XF  where Mach_ID=9  and left(Date_Time,7)='2026-11' and XF_Type in(17,181)
select sum(YuE_Change) as YuE_C,count(YuE_Change) as Count_Bi  from Record_XF  where XF_Type=11 and Mach_ID=9  and left(Date_Time,7)='2026-11' 
select sum(YuE_Change) as YuE_C,count(YuE_Change) as Count_Bi  from Record_XF  where XF_Type in(173,174) and Mach_ID=9  and left(Date_Time,7)='2026-11' 
select sum(YuCi_Change) as YuCi_C,count(YuCi_Change) as Count_Ci_Bi from Record_XF  where XF_Type=13 and Mach_ID=9  and left(Date_Time,7)='2026-11' 
select sum(YuE_change) as YuE_C ,count(YuE_Change) as YuE_B  from Record_XF  where Mach_ID=10  and left(date_Time,7)>='2026-10' and left(date_Time,7)<='2026-11' and XF_Type in(161,202,169,170,174,129)
select sum(YuCi_change) as YuCi_C ,count(YuCi_Change) as YuCi_B  from Record_XF  where Mach_ID=10  and left(date_Time,7)>='2026-10' and left(date_Time,7)<='2026-11' and XF_Type in (163,171,172)
select sum(YuE_change) as YuE_C ,count(YuE_Change) as YuE_B  from Record_XF  where Mach_ID=10  and left(date_Time,7)>='2026-10' and left(date_Time,7)<='2026-11' and XF_Type in(5,6)
select sum(YuCi_change) as YuCi_C ,count(YuCi_Change) as YuCi_B  from Record_XF  where Mach_ID=10  and left(date_Time,7)>='2026-10' and left(date_Time,7)<='2026-11' and XF_Type in(7,8)
select sum(YuE_change) as YuE_C ,count(YuE_Change) as YuE_B  from Record_XF  where Mach_ID=10  and left(date_Time,7)>='2026-10' and left(date_Time,7)<='2026-11' and XF_Type=11
select sum(YuE_change) as YuE_C ,count(YuE_Change) as YuE_B  from Record_XF  where Mach_ID=10  and left(date_Time,7)>='2026-10' and left(date_Time,7)<='2026-11' and XF_Type in(173,174)
select sum(YuCi_change) as YuCi_C ,count(YuCi_Change) as YuCi_B  from Record_XF  where Mach_ID=10  and left(date_Time,7)>='2026-10' and left(date_Time,7)<='2026-11' and XF_Type=13
select sum(YuE_change) as YuE_C ,count(YuE_Change) as YuE_B  from Record_XF  where Mach_ID=10  and left(date_Time,7)>='2026-10' and left(date_Time,7)<='2026-11' and XF_Type=162
select sum(YuE_change) as YuE_C ,count(YuE_Change) as YuE_B  from Record_XF  where Mach_ID=10  and left(date_Time,7)>='2026-10' and left(date_Time,7)<='2026-11' and XF_Type in(9,10)
select sum(YuE_change) as YuE_C ,count(YuE_Change) as YuE_B  from Record_XF  where Mach_ID=10  and left(date_Time,7)>='2026-10' and left(date_Time,7)<='2026-11' and XF_Type=175
select sum(YuCi_change) as YuCi_C ,count(YuCi_Change) as YuCi_B  from Record_XF  where Mach_ID=10  and left(date_Time,7)>='2026-10' and left(date_Time,7)<='2026-11' and XF_Type=177
select sum(YuE_change) as YuE_C ,count(YuE_Change) as YuE_B  from Record_XF  where Mach_ID=10  and left(date_Time,7)>='2026-10' and left(date_Time,7)<='2026-11' and XF_Type=166
select sum(YuCi_change) as YuCi_C ,count(YuCi_Change) as YuCi_B  from Record_XF  where Mach_ID=10  and left(date_Time,7)>='2026-10' and left(date_Time,7)<='2026-11' and XF_Type=168
select sum(YuE_change) as YuE_C ,count(YuE_Change) as YuE_B  from Record_XF  where Mach_ID=10  and left(date_Time,7)>='2026-10' and left(date_Time,7)<='2026-11' and XF_Type in(1,2) and XF_Meal=1
select sum(YuCi_change) as YuCi_C ,count(YuCi_Change) as YuCi_B  from Record_XF  where Mach_ID=10  and left(date_Time,7)>='2026-10' and left(date_Time,7)<='2026-11' and XF_Type=3 and XF_Meal=1
select sum(YuE_change) as YuE_C ,count(YuE_Change) as YuE_B  from Record_XF  where Mach_ID=10  and left(date_Time,7)>='2026-10' and left(date_Time,7)<='2026-11' and XF_Type in(1,2) and XF_Meal=2
select sum(YuCi_change) as YuCi_C ,count(YuCi_Change) as YuCi_B  from Record_XF  where Mach_ID=10  and left(date_Time,7)>='2026-10' and left(date_Time,7)<='2026-11' and XF_Type=3 and XF_Meal=2
select sum(YuE_change) as YuE_C ,count(YuE_Change) as YuE_B  from Record_XF  where Mach_ID=10  and left(date_Time,7)>='2026-10' and left(date_Time,7)<='2026-11' and XF_Type in(1,2) and XF_Meal=3
select sum(YuCi_change) as YuCi_C ,count(YuCi_Change) as YuCi_B  from Record_XF  where Mach_ID=10  and left(date_Time,7)>='2026-10' and left(date_Time,7)<='2026-11' and XF_Type=3 and XF_Meal=3
select sum(YuE_change) as YuE_C ,count(YuE_Change) as YuE_B  from Record_XF  where Mach_ID=10  and left(date_Time,7)>='2026-10' and left(date_Time,7)<='2026-11' and XF_Type in(1,2) and XF_Meal=4
select sum(YuCi_change) as YuCi_C ,count(YuCi_Change) as YuCi_B  from Record_XF  where Mach_ID=10  and left(date_Time,7)>='2026-10' and left(date_Time,7)<='2026-11' and XF_Type=3 and XF_Meal=4
select sum(YuE_change) as YuE_C ,count(YuE_Change) as YuE_B  from Record_XF  where Mach_ID=10  and left(date_Time,7)>='2026-10' and left(date_Time,7)<='2026-11' and XF_Type in(1,2) and XF_Meal=5
select sum(YuCi_change) as YuCi_C ,count(YuCi_Change) as YuCi_B  from Record_XF  where Mach_ID=10  and left(date_Time,7)>='2026-10' and left(date_Time,7)<='2026-11' and XF_Type=3 and XF_Meal=5
select sum(YuE_change) as YuE_C ,count(YuE_Change) as YuE_B  from Record_XF  where Mach_ID=10  and left(date_Time,7)>='2026-10' and left(date_Time,7)<='2026-11' and XF_Type in(1,2,201,179)
select sum(YuCi_change) as YuCi_C ,count(YuCi_Change) as YuCi_B  from Record_XF  where Mach_ID=10  and left(date_Time,7)>='2026-10' and left(date_Time,7)<='2026-11' and XF_Type=3
select sum(YuE_change) as YuE_C ,count(YuE_Change) as YuE_B  from Record_XF  where Mach_ID=10  and left(date_Time,7)>='2026-10' and left(date_Time,7)<='2026-11' and XF_Type in(17,181)
select sum(YuE_change) as YuE_C ,count(YuE_Change) as YuE_B  from Record_XF  where Mach_ID=10  and left(Date_Time,7)='2026-10' and XF_Type in(161,202,169,170,174,129)
select sum(YuCi_change) as YuCi_C ,count(YuCi_Change) as YuCi_B  from Record_XF  where Mach_ID=10  and left(Date_Time,7)='2026-10' and XF_Type in (163,171,172)
select sum(YuE_change) as YuE_C ,count(YuE_Change) as YuE_B  from Record_XF  where Mach_ID=10  and left(Date_Time,7)='2026-10' and XF_Type in(5,6)
select sum(YuCi_change) as YuCi_C ,count(YuCi_Change) as YuCi_B  from Record_XF  where Mach_ID=10  and left(Date_Time,7)='2026-10' and XF_Type in(7,8)
select sum(YuE_change) as YuE_C ,count(YuE_Change) as YuE_B  from Record_XF  where Mach_ID=10  and left(Date_Time,7)='2026-10' and XF_Type=11
select sum(YuE_change) as YuE_C ,count(YuE_Change) as YuE_B  from Record_XF  where Mach_ID=10  and left(Date_Time,7)='2026-10' and XF_Type in(173,174)
select sum(YuCi_change) as YuCi_C ,count(YuCi_Change) as YuCi_B  from Record_XF  where Mach_ID=10  and left(Date_Time,7)='2026-10' and XF_Type=13
select sum(YuE_change) as YuE_C ,count(YuE_Change) as YuE_B  from Record_XF  where Mach_ID=10  and left(Date_Time,7)='2026-10' and XF_Type=162
select sum(YuE_change) as YuE_C ,count(YuE_Change) as YuE_B  from Record_XF  where Mach_ID=10  and left(Date_Time,7)='2026-10' and XF_Type in(9,10)
select sum(YuE_change) as YuE_C ,count(YuE_Change) as YuE_B  from Record_XF  where Mach_ID=10  and left(Date_Time,7)='2026-10' and XF_Type=175
select sum(YuCi_change) as YuCi_C ,count(YuCi_Change) as YuCi_B  from Record_XF  where Mach_ID=10  and left(Date_Time,7)='2026-10' and XF_Type=177
select sum(YuE_change) as YuE_C ,count(YuE_Change) as YuE_B  from Record_XF  where Mach_ID=10  and left(Date_Time,7)='2026-10' and XF_Type=166
select sum(YuCi_change) as YuCi_C ,count(YuCi_Change) as YuCi_B  from Record_XF  where Mach_ID=10  and left(Date_Time,7)='2026-10' and XF_Type=168
select sum(YuE_change) as YuE_C ,count(YuE_Change) as YuE_B  from Record_XF  where Mach_ID=10  and left(Date_Time,7)='2026-10' and XF_Type in(1,2) and XF_Meal=1
select sum(YuCi_change) as YuCi_C ,count(YuCi_Change) as YuCi_B  from Record_XF  where Mach_ID=10  and left(Date_Time,7)='2026-10' and XF_Type=3 and XF_Meal=1
select sum(YuE_change) as YuE_C ,count(YuE_Change) as YuE_B  from Record_XF  where Mach_ID=10  and left(Date_Time,7)='2026-10' and XF_Type in(1,2) and XF_Meal=2
select sum(YuCi_change) as YuCi_C ,count(YuCi_Change) as YuCi_B  from Record_XF  where Mach_ID=10  and left(Date_Time,7)='2026-10' and XF_Type=3 and XF_Meal=2
select sum(YuE_change) as YuE_C ,count(YuE_Change) as YuE_B  from Record_XF  where Mach_ID=10  and left(Date_Time,7)='2026-10' and XF_Type in(1,2) and XF_Meal=3
select sum(YuCi_change) as YuCi_C ,count(YuCi_Change) as YuCi_B  from Record_XF  where Mach_ID=10  and left(Date_Time,7)='2026-10' and XF_Type=3 and XF_Meal=3
select sum(YuE_change) as YuE_C ,count(YuE_Change) as YuE_B  from Record_XF  where Mach_ID=10  and left(Date_Time,7)='2026-10' and XF_Type in(1,2) and XF_Meal=4
select sum(YuCi_change) as YuCi_C ,count(YuCi_Change) as YuCi_B  from Record_XF  where Mach_ID=10  and left(Date_Time,7)='2026-10' and XF_Type=3 and XF_Meal=4
select sum(YuE_change) as YuE_C ,count(YuE_Change) as YuE_B  from Record_XF  where Mach_ID=10  and left(Date_Time,7)='2026-10' and XF_Type in(1,2) and XF_Meal=5
select sum(YuCi_change) as YuCi_C ,count(YuCi_Change) as YuCi_B  from Record_XF  where Mach_ID=10  and left(Date_Time,7)='2026-10' and XF_Type=3 and XF_Meal=5
select sum(YuE_change) as YuE_C ,count(YuE_Change) as YuE_B  from Record_XF  where Mach_ID=10  and left(Date_Time,7)='2026-10' and XF_Type in(1,2,201,179)
select sum(YuCi_change) as YuCi_C ,count(YuCi_Change) as YuCi_B  from Record_XF  where Mach_ID=10  and left(Date_Time,7)='2026-10' and XF_Type=3
select sum(YuE_change) as YuE_C ,count(YuE_Change) as YuE_B  from Record_XF  where Mach_ID=10  and left(Date_Time,7)='2026-10' and XF_Type in(17,181)
select sum(YuE_Change) as YuE_C,count(YuE_Change) as Count_Bi  from Record_XF  where XF_Type in(17,181) and Mach_ID=10  and left(Date_Time,7)='2026-10' 
select sum(YuE_change) as YuE_C ,count(YuE_Change) as YuE_B  from Record_XF  where Mach_ID=10  and left(Date_Time,7)='2026-11' and XF_Type in(161,202,169,170,174,129)
select sum(YuCi_change) as YuCi_C ,count(YuCi_Change) as YuCi_B  from Record_XF  where Mach_ID=10  and left(Date_Time,7)='2026-11' and XF_Type in (163,171,172)
select sum(YuE_change) as YuE_C ,count(YuE_Change) as YuE_B  from Record_XF  where Mach_ID=10  and left(Date_Time,7)='2026-11' and XF_Type in(5,6)
select sum(YuCi_change) as YuCi_C ,count(YuCi_Change) as YuCi_B  from Record_XF  where Mach_ID=10  and left(Date_Time,7)='2026-11' and XF_Type in(7,8)
select sum(YuE_change) as YuE_C ,count(YuE_Change) as YuE_B  from Record_XF  where Mach_ID=10  and left(Date_Time,7)='2026-11' and XF_Type=11
select sum(YuE_change) as YuE_C ,count(YuE_Change) as YuE_B  from Record_XF  where Mach_ID=10  and left(Date_Time,7)='2026-11' and XF_Type in(173,174)
select sum(YuCi_change) as YuCi_C ,count(YuCi_Change) as YuCi_B  from Record_XF  where Mach_ID=10  and left(Date_Time,7)='2026-11' and XF_Type=13
select sum(YuE_change) as YuE_C ,count(YuE_Change) as YuE_B  from Record_XF  where Mach_ID=10  and left(Date_Time,7)='2026-11' and XF_Type=162
select sum(YuE_change) as YuE_C ,count(YuE_Change) as YuE_B  from Record_XF  where Mach_ID=10  and left(Date_Time,7)='2026-11' and XF_Type in(9,10)
select sum(YuE_change) as YuE_C ,count(YuE_Change) as YuE_B  from Record_XF  where Mach_ID=10  and left(Date_Time,7)='2026-11' and XF_Type=175
select sum(YuCi_change) as YuCi_C ,count(YuCi_Change) as YuCi_B  from Record_XF  where Mach_ID=10  and left(Date_Time,7)='2026-11' and XF_Type=177
select sum(YuE_change) as YuE_C ,count(YuE_Change) as YuE_B  from Record_XF  where Mach_ID=10  and left(Date_Time,7)='2026-11' and XF_Type=166
select sum(YuCi_change) as YuCi_C ,count(YuCi_Change) as YuCi_B  from Record_XF  where Mach_ID=10  and left(Date_Time,7)='2026-11' and XF_Type=168
select sum(YuE_change) as YuE_C ,count(YuE_Change) as YuE_B  from Record_XF  where Mach_ID=10  and left(Date_Time,7)='2026-11' and XF_Type in(1,2) and XF_Meal=1
select sum(YuCi_change) as YuCi_C ,count(YuCi_Change) as YuCi_B  from Record_XF  where Mach_ID=10  and left(Date_Time,7)='2026-11' and XF_Type=3 and XF_Meal=1
select sum(YuE_change) as YuE_C ,count(YuE_Change) as YuE_B  from Record_XF  where Mach_ID=10  and left(Date_Time,7)='2026-11' and XF_Type in(1,2) and XF_Meal=2
select sum(YuCi_change) as YuCi_C ,count(YuCi_Change) as YuCi_B  from Record_XF  where Mach_ID=10  and left(Date_Time,7)='2026-11' and XF_Type=3 and XF_Meal=2
select sum(YuE_change) as YuE_C ,count(YuE_Change) as YuE_B  from Record_XF  where Mach_ID=10  and left(Date_Time,7)='2026-11' and XF_Type in(1,2) and XF_Meal=3
select sum(YuCi_change) as YuCi_C ,count(YuCi_Change) as YuCi_B  from Record_XF  where Mach_ID=10  and left(Date_Time,7)='2026-11' and XF_Type=3 and XF_Meal=3
select sum(YuE_change) as YuE_C ,count(YuE_Change) as YuE_B  from Record_XF  where Mach_ID=10  and left(Date_Time,7)='2026-11' and XF_Type in(1,2) and XF_Meal=4
select sum(YuCi_change) as YuCi_C ,count(YuCi_Change) as YuCi_B  from Record_XF  where Mach_ID=10  and left(Date_Time,7)='2026-11' and XF_Type=3 and XF_Meal=4
select sum(YuE_change) as YuE_C ,count(YuE_Change) as YuE_B  from Record_XF  where Mach_ID=10  and left(Date_Time,7)='2026-11' and XF_Type in(1,2) and XF_Meal=5
select sum(YuCi_change) as YuCi_C ,count(YuCi_Change) as YuCi_B  from Record_XF  where Mach_ID=10  and left(Date_Time,7)='2026-11' and XF_Type=3 and XF_Meal=5
select sum(YuE_change) as YuE_C ,count(YuE_Change) as YuE_B  from Record_XF  where Mach_ID=10  and left(Date_Time,7)='2026-11' and XF_Type in(1,2,201,179)
select sum(YuCi_change) as YuCi_C ,count(YuCi_Change) as YuCi_B  from Record_XF  where Mach_ID=10  and left(Date_Time,7)='2026-11' and XF_Type=3
select sum(YuE_change) as YuE_C ,count(YuE_Change) as YuE_B  from Record_XF  where Mach_ID=10  and left(Date_Time,7)='2026-11' and XF_Type in(17,181)
select sum(YuE_Change) as YuE_C,count(YuE_Change) as Count_Bi  from Record_XF  where XF_Type in(17,181) and Mach_ID=10  and left(Date_Time,7)='2026-11' 
select sum(YuE_change) as YuE_C ,count(YuE_Change) as YuE_B  from Record_XF  where Mach_ID=11  and left(date_Time,7)>='2026-10' and left(date_Time,7)<='2026-11' and XF_Type in(161,202,169,170,174,129)
select sum(YuCi_change) as YuCi_C ,count(YuCi_Change) as YuCi_B  from Record_XF  where Mach_ID=11  and left(date_Time,7)>='2026-10' and left(date_Time,7)<='2026-11' and XF_Type in (163,171,172)
select sum(YuE_change) as YuE_C ,count(YuE_Change) as YuE_B  from Record_XF  where Mach_ID=11  and left(date_Time,7)>='2026-10' and left(date_Time,7)<='2026-11' and XF_Type in(5,6)
select sum(YuCi_change) as YuCi_C ,count(YuCi_Change) as YuCi_B  from Record_XF  where Mach_ID=11  and left(date_Time,7)>='2026-10' and left(date_Time,7)<='2026-11' and XF_Type in(7,8)
select sum(YuE_change) as YuE_C ,count(YuE_Change) as YuE_B  from Record_XF  where Mach_ID=11  and left(date_Time,7)>='2026-10' and left(date_Time,7)<='2026-11' and XF_Type=11
select sum(YuE_change) as YuE_C ,count(YuE_Change) as YuE_B  from Record_XF  where Mach_ID=11  and left(date_Time,7)>='2026-10' and left(date_Time,7)<='2026-11' and XF_Type in(173,174)
select sum(YuCi_change) as YuCi_C ,count(YuCi_Change) as YuCi_B  from Record_XF  where Mach_ID=11  and left(date_Time,7)>='2026-10' and left(date_Time,7)<='2026-11' and XF_Type=13
select sum(YuE_change) as YuE_C ,count(YuE_Change) as YuE_B  from Record_XF  where Mach_ID=11  and left(date_Time,7)>='2026-10' and left(date_Time,7)<='2026-11' and XF_Type=162
select sum(YuE_change) as YuE_C ,count(YuE_Change) as YuE_B  from Record_XF  where Mach_ID=11  and left(date_Time,7)>='2026-10' and left(date_Time,7)<='2026-11' and XF_Type in(9,10)
select sum(YuE_change) as YuE_C ,count(YuE_Change) as YuE_B  from Record_XF  where Mach_ID=11  and left(date_Time,7)>='2026-10' and left(date_Time,7)<='2026-11' and XF_Type=175
select sum(YuCi_change) as YuCi_C ,count(YuCi_Change) as YuCi_B  from Record_XF  where Mach_ID=11  and left(date_Time,7)>='2026-10' and left(date_Time,7)<='2026-11' and XF_Type=177
select sum(YuE_change) as YuE_C ,count(YuE_Change) as YuE_B  from Record_XF  where Mach_ID=11  and left(date_Time,7)>='2026-10' and left(date_Time,7)<='2026-11' and XF_Type=166
select sum(YuCi_change) as YuCi_C ,count(YuCi_Change) as YuCi_B  from Record_XF  where Mach_ID=11  and left(date_Time,7)>='2026-10' and left(date_Time,7)<='2026-11' and XF_Type=168
select sum(YuE_change) as YuE_C ,count(YuE_Change) as YuE_B  from Record_XF  where Mach_ID=11  and left(date_Time,7)>='2026-10' and left(date_Time,7)<='2026-11' and XF_Type in(1,2) and XF_Meal=1
select sum(YuCi_change) as YuCi_C ,count(YuCi_Change) as YuCi_B  from Record_XF  where Mach_ID=11  and left(date_Time,7)>='2026-10' and left(date_Time,7)<='2026-11' and XF_Type=3 and XF_Meal=1
select sum(YuE_change) as YuE_C ,count(YuE_Change) as YuE_B  from Record_XF  where Mach_ID=11  and left(date_Time,7)>='2026-10' and left(date_Time,7)<='2026-11' and XF_Type in(1,2) and XF_Meal=2
select sum(YuCi_change) as YuCi_C ,count(YuCi_Change) as YuCi_B  from Record_XF  where Mach_ID=11  and left(date_Time,7)>='2026-10' and left(date_Time,7)<='2026-11' and XF_Type=3 and XF_Meal=2
select sum(YuE_change) as YuE_C ,count(YuE_Change) as YuE_B  from Record_XF  where Mach_ID=11  and left(date_Time,7)>='2026-10' and left(date_Time,7)<='2026-11' and XF_Type in(1,2) and XF_Meal=3
select sum(YuCi_change) as YuCi_C ,count(YuCi_Change) as YuCi_B  from Record_XF  where Mach_ID=11  and left(date_Time,7)>='2026-10' and left(date_Time,7)<='2026-11' and XF_Type=3 and XF_Meal=3
select sum(YuE_change) as YuE_C ,count(YuE_Change) as YuE_B  from Record_XF  where Mach_ID=11  and left(date_Time,7)>='2026-10' and left(date_Time,7)<='2026-11' and XF_Type in(1,2) and XF_Meal=4
select sum(YuCi_change) as YuCi_C ,count(YuCi_Change) as YuCi_B  from Record_XF  where Mach_ID=11  and left(date_Time,7)>='2026-10' and left(date_Time,7)<='2026-11' and XF_Type=3 and XF_Meal=4
select sum(YuE_change) as YuE_C ,count(YuE_Change) as YuE_B  from Record_XF  where Mach_ID=11  and left(date_Time,7)>='2026-10' and left(date_Time,7)<='2026-11' and XF_Type in(1,2) and XF_Meal=5
select sum(YuCi_change) as YuCi_C ,count(YuCi_Change) as YuCi_B  from Record_XF  where Mach_ID=11  and left(date_Time,7)>='2026-10' and left(date_Time,7)<='2026-11' and XF_Type=3 and XF_Meal=5
select sum(YuE_change) as YuE_C ,count(YuE_Change) as YuE_B  from Record_XF  where Mach_ID=11  and left(date_Time,7)>='2026-10' and left(date_Time,7)<='2026-11' and XF_Type in(1,2,201,179)
select sum(YuCi_change) as YuCi_C ,count(YuCi_Change) as YuCi_B  from Record_XF  where Mach_ID=11  and left(date_Time,7)>='2026-10' and left(date_Time,7)<='2026-11' and XF_Type=3
select sum(YuE_change) as YuE_C ,count(YuE_Change) as YuE_B  from Record_XF  where Mach_ID=11  and left(date_Time,7)>='2026-10' and left(date_Time,7)<='2026-11' and XF_Type in(17,181)
select sum(YuE_change) as YuE_C ,count(YuE_Change) as YuE_B  from Record_XF  where Mach_ID=11  and left(Date_Time,7)='2026-10' and XF_Type in(161,202,169,170,174,129)
select sum(YuCi_change) as YuCi_C ,count(YuCi_Change) as YuCi_B  from Record_XF  where Mach_ID=11  and left(Date_Time,7)='2026-10' and XF_Type in (163,171,172)
select sum(YuE_change) as YuE_C ,count(YuE_Change) as YuE_B  from Record_XF  where Mach_ID=11  and left(Date_Time,7)='2026-10' and XF_Type in(5,6)
select sum(YuCi_change) as YuCi_C ,count(YuCi_Change) as YuCi_B  from Record_XF  where Mach_ID=11  and left(Date_Time,7)='2026-10' and XF_Type in(7,8)
select sum(YuE_change) as YuE_C ,count(YuE_Change) as YuE_B  from Record_XF  where Mach_ID=11  and left(Date_Time,7)='2026-10' and XF_Type=11
select sum(YuE_change) as YuE_C ,count(YuE_Change) as YuE_B  from Record_XF  where Mach_ID=11  and left(Date_Time,7)='2026-10' and XF_Type in(173,174)
select sum(YuCi_change) as YuCi_C ,count(YuCi_Change) as YuCi_B  from Record_XF  where Mach_ID=11  and left(Date_Time,7)='2026-10' and XF_Type=13
select sum(YuE_change) as YuE_C ,count(YuE_Change) as YuE_B  from Record_XF  where Mach_ID=11  and left(Date_Time,7)='2026-10' and XF_Type=162
select sum(YuE_change) as YuE_C ,count(YuE_Change) as YuE_B  from Record_XF  where Mach_ID=11  and left(Date_Time,7)='2026-10' and XF_Type in(9,10)
select sum(YuE_change) as YuE_C ,count(YuE_Change) as YuE_B  from Record_XF  where Mach_ID=11  and left(Date_Time,7)='2026-10' and XF_Type=175
select sum(YuCi_change) as YuCi_C ,count(YuCi_Change) as YuCi_B  from Record_XF  where Mach_ID=11  and left(Date_Time,7)='2026-10' and XF_Type=177
select sum(YuE_change) as YuE_C ,count(YuE_Change) as YuE_B  from Record_XF  where Mach_ID=11  and left(Date_Time,7)='2026-10' and XF_Type=166
select sum(YuCi_change) as YuCi_C ,count(YuCi_Change) as YuCi_B  from Record_XF  where Mach_ID=11  and left(Date_Time,7)='2026-10' and XF_Type=168
select sum(YuE_change) as YuE_C ,count(YuE_Change) as YuE_B  from Record_XF  where Mach_ID=11  and left(Date_Time,7)='2026-10' and XF_Type in(1,2) and XF_Meal=1
select sum(YuCi_change) as YuCi_C ,count(YuCi_Change) as YuCi_B  from Record_XF  where Mach_ID=11  and left(Date_Time,7)='2026-10' and XF_Type=3 and XF_Meal=1
select sum(YuE_change) as YuE_C ,count(YuE_Change) as YuE_B  from Record_XF  where Mach_ID=11  and left(Date_Time,7)='2026-10' and XF_Type in(1,2) and XF_Meal=2
select sum(YuCi_change) as YuCi_C ,count(YuCi_Change) as YuCi_B  from Record_XF  where Mach_ID=11  and left(Date_Time,7)='2026-10' and XF_Type=3 and XF_Meal=2
select sum(YuE_change) as YuE_C ,count(YuE_Change) as YuE_B  from Record_XF  where Mach_ID=11  and left(Date_Time,7)='2026-10' and XF_Type in(1,2) and XF_Meal=3
select sum(YuCi_change) as YuCi_C ,count(YuCi_Change) as YuCi_B  from Record_XF  where Mach_ID=11  and left(Date_Time,7)='2026-10' and XF_Type=3 and XF_Meal=3
select sum(YuE_change) as YuE_C ,count(YuE_Change) as YuE_B  from Record_XF  where Mach_ID=11  and left(Date_Time,7)='2026-10' and XF_Type in(1,2) and XF_Meal=4
select sum(YuCi_change) as YuCi_C ,count(YuCi_Change) as YuCi_B  from Record_XF  where Mach_ID=11  and left(Date_Time,7)='2026-10' and XF_Type=3 and XF_Meal=4
select sum(YuE_change) as YuE_C ,count(YuE_Change) as YuE_B  from Record_XF  where Mach_ID=11  and left(Date_Time,7)='2026-10' and XF_Type in(1,2) and XF_Meal=5
select sum(YuCi_change) as YuCi_C ,count(YuCi_Change) as YuCi_B  from Record_XF  where Mach_ID=11  and left(Date_Time,7)='2026-10' and XF_Type=3 and XF_Meal=5
select sum(YuE_change) as YuE_C ,count(YuE_Change) as YuE_B  from Record_XF  where Mach_ID=11  and left(Date_Time,7)='2026-10' and XF_Type in(1,2,201,179)
select sum(YuCi_change) as YuCi_C ,count(YuCi_Change) as YuCi_B  from Record_XF  where Mach_ID=11  and left(Date_Time,7)='2026-10' and XF_Type=3
select sum(YuE_change) as YuE_C ,count(YuE_Change) as YuE_B  from Record_XF  where Mach_ID=11  and left(Date_Time,7)='2026-10' and XF_Type in(17,181)
select sum(YuE_Change) as YuE_C,count(YuE_Change) as Count_Bi  from Record_XF  where XF_Type in(161,202,169,170,174,129) and Mach_ID=11  and left(Date_Time,7)='2026-10' 
select sum(YuCi_Change) as YuCi_C,count(YuCi_Change) as Count_Ci_Bi from Record_XF  where XF_Type in (163,171,172) and Mach_ID=11  and left(Date_Time,7)='2026-10' 
select sum(YuE_Change) as YuE_C,count(YuE_Change) as Count_Bi  from Record_XF  where XF_Type=162 and Mach_ID=11  and left(Date_Time,7)='2026-10' 
select sum(YuE_change) as YuE_C ,count(YuE_Change) as YuE_B  from Record_XF  where Mach_ID=11  and left(Date_Time,7)='2026-11' and XF_Type in(161,202,169,170,174,129)
select sum(YuCi_change) as YuCi_C ,count(YuCi_Change) as YuCi_B  from Record_XF  where Mach_ID=11  and left(Date_Time,7)='2026-11' and XF_Type in (163,171,172)
select sum(YuE_change) as YuE_C ,count(YuE_Change) as YuE_B  from Record_XF  where Mach_ID=11  and left(Date_Time,7)='2026-11' and XF_Type in(5,6)
select sum(YuCi_change) as YuCi_C ,count(YuCi_Change) as YuCi_B  from Record_XF  where Mach_ID=11  and left(Date_Time,7)='2026-11' and XF_Type in(7,8)
select sum(YuE_change) as YuE_C ,count(YuE_Change) as YuE_B  from Record_XF  where Mach_ID=11  and left(Date_Time,7)='2026-11' and XF_Type=11
select sum(YuE_change) as YuE_C ,count(YuE_Change) as YuE_B  from Record_XF  where Mach_ID=11  and left(Date_Time,7)='2026-11' and XF_Type in(173,174)
select sum(YuCi_change) as YuCi_C ,count(YuCi_Change) as YuCi_B  from Record_XF  where Mach_ID=11  and left(Date_Time,7)='2026-11' and XF_Type=13
select sum(YuE_change) as YuE_C ,count(YuE_Change) as YuE_B  from Record_XF  where Mach_ID=11  and left(Date_Time,7)='2026-11' and XF_Type=162
select sum(YuE_change) as YuE_C ,count(YuE_Change) as YuE_B  from Record_XF  where Mach_ID=11  and left(Date_Time,7)='2026-11' and XF_Type in(9,10)
select sum(YuE_change) as YuE_C ,count(YuE_Change) as YuE_B  from Record_XF  where Mach_ID=11  and left(Date_Time,7)='2026-11' and XF_Type=175
select sum(YuCi_change) as YuCi_C ,count(YuCi_Change) as YuCi_B  from Record_XF  where Mach_ID=11  and left(Date_Time,7)='2026-11' and XF_Type=177
select sum(YuE_change) as YuE_C ,count(YuE_Change) as YuE_B  from Record_XF  where Mach_ID=11  and left(Date_Time,7)='2026-11' and XF_Type=166
select sum(YuCi_change) as YuCi_C ,count(YuCi_Change) as YuCi_B  from Record_XF  where Mach_ID=11  and left(Date_Time,7)='2026-11' and XF_Type=168
select sum(YuE_change) as YuE_C ,count(YuE_Change) as YuE_B  from Record_XF  where Mach_ID=11  and left(Date_Time,7)='2026-11' and XF_Type in(1,2) and XF_Meal=1
select sum(YuCi_change) as YuCi_C ,count(YuCi_Change) as YuCi_B  from Record_XF  where Mach_ID=11  and left(Date_Time,7)='2026-11' and XF_Type=3 and XF_Meal=1
select sum(YuE_change) as YuE_C ,count(YuE_Change) as YuE_B  from Record_XF  where Mach_ID=11  and left(Date_Time,7)='2026-11' and XF_Type in(1,2) and XF_Meal=2
select sum(YuCi_change) as YuCi_C ,count(YuCi_Change) as YuCi_B  from Record_XF  where Mach_ID=11  and left(Date_Time,7)='2026-11' and XF_Type=3 and XF_Meal=2
select sum(YuE_change) as YuE_C ,count(YuE_Change) as YuE_B  from Record_XF  where Mach_ID=11  and left(Date_Time,7)='2026-11' and XF_Type in(1,2) and XF_Meal=3
select sum(YuCi_change) as YuCi_C ,count(YuCi_Change) as YuCi_B  from Record_XF  where Mach_ID=11  and left(Date_Time,7)='2026-11' and XF_Type=3 and XF_Meal=3
select sum(YuE_change) as YuE_C ,count(YuE_Change) as YuE_B  from Record_XF  where Mach_ID=11  and left(Date_Time,7)='2026-11' and XF_Type in(1,2) and XF_Meal=4
select sum(YuCi_change) as YuCi_C ,count(YuCi_Change) as YuCi_B  from Record_XF  where Mach_ID=11  and left(Date_Time,7)='2026-11' and XF_Type=3 and XF_Meal=4
select sum(YuE_change) as YuE_C ,count(YuE_Change) as YuE_B  from Record_XF  where Mach_ID=11  and left(Date_Time,7)='2026-11' and XF_Type in(1,2) and XF_Meal=5
select sum(YuCi_change) as YuCi_C ,count(YuCi_Change) as YuCi_B  from Record_XF  where Mach_ID=11  and left(Date_Time,7)='2026-11' and XF_Type=3 and XF_Meal=5
select sum(YuE_change) as YuE_C ,count(YuE_Change) as YuE_B  from Record_XF  where Mach_ID=11  and left(Date_Time,7)='2026-11' and XF_Type in(1,2,201,179)
select sum(YuCi_change) as YuCi_C ,count(YuCi_Change) as YuCi_B  from Record_XF  where Mach_ID=11  and left(Date_Time,7)='2026-11' and XF_Type=3
select sum(YuE_change) as YuE_C ,count(YuE_Change) as YuE_B  from Record_XF  where Mach_ID=11  and left(Date_Time,7)='2026-11' and XF_Type in(17,181)
select sum(YuE_Change) as YuE_C,count(YuE_Change) as Count_Bi  from Record_XF  where XF_Type in(161,202,169,170,174,129) and Mach_ID=11  and left(Date_Time,7)='2026-11' 
select sum(YuCi_Change) as YuCi_C,count(YuCi_Change) as Count_Ci_Bi from Record_XF  where XF_Type in (163,171,172) and Mach_ID=11  and left(Date_Time,7)='2026-11' 
select sum(YuE_Change) as YuE_C,count(YuE_Change) as Count_Bi  from Record_XF  where XF_Type=162 and Mach_ID=11  and left(Date_Time,7)='2026-11' 
