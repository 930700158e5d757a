select * from Sys_Para where P1='消费统计月报表'and Para_Name='HZ_Rep_Format'
select SubParaName,P2,P3,P4,P5 from Sys_Para where Para_Name = 'HZ_Rep_Format' and SubParaName = '008' 
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
select sum(YuE_change) as YuE_C ,count(YuE_Change) as YuE_B  from Record_XF  where left(Date_Time,7)='2026-10' and XF_Type in(1,2) and XF_Meal=1
select sum(YuCi_change) as YuCi_C ,count(YuCi_Change) as YuCi_B  from Record_XF  where left(Date_Time,7)='2026-10' and XF_Type=3 and XF_Meal=1
select sum(YuE_change) as YuE_C ,count(YuE_Change) as YuE_B  from Record_XF  where left(Date_Time,7)='2026-10' and XF_Type in(1,2) and XF_Meal=2
select sum(YuCi_change) as YuCi_C ,count(YuCi_Change) as YuCi_B  from Record_XF  where left(Date_Time,7)='2026-10' and XF_Type=3 and XF_Meal=2
select sum(YuE_change) as YuE_C ,count(YuE_Change) as YuE_B  from Record_XF  where left(Date_Time,7)='2026-10' and XF_Type in(1,2) and XF_Meal=3
select sum(YuCi_change) as YuCi_C ,count(YuCi_Change) as YuCi_B  from Record_XF  where left(Date_Time,7)='2026-10' and XF_Type=3 and XF_Meal=3
select sum(YuE_change) as YuE_C ,count(YuE_Change) as YuE_B  from Record_XF  where left(Date_Time,7)='2026-10' and XF_Type in(1,2) and XF_Meal=4
select sum(YuCi_change) as YuCi_C ,count(YuCi_Change) as YuCi_B  from Record_XF  where left(Date_Time,7)='2026-10' and XF_Type=3 and XF_Meal=4
select sum(YuE_change) as YuE_C ,count(YuE_Change) as YuE_B  from Record_XF  where left(Date_Time,7)='2026-10' and XF_Type in(1,2) and XF_Meal=5
select sum(YuCi_change) as YuCi_C ,count(YuCi_Change) as YuCi_B  from Record_XF  where left(Date_Time,7)='2026-10' and XF_Type=3 and XF_Meal=5
select sum(YuE_change) as YuE_C ,count(YuE_Change) as YuE_B  from Record_XF  where left(Date_Time,7)='2026-10' and XF_Type in(1,2,201,179)
select sum(YuCi_change) as YuCi_C ,count(YuCi_Change) as YuCi_B  from Record_XF  where left(Date_Time,7)='2026-10' and XF_Type=3
select sum(YuE_change) as YuE_C ,count(YuE_Change) as YuE_B  from Record_XF  where left(Date_Time,7)='2026-10' and XF_Type in(1,2) and XF_Meal=1
select sum(YuCi_change) as YuCi_C ,count(YuCi_Change) as YuCi_B  from Record_XF  where left(Date_Time,7)='2026-10' and XF_Type=3 and XF_Meal=1
select sum(YuE_change) as YuE_C ,count(YuE_Change) as YuE_B  from Record_XF  where left(Date_Time,7)='2026-10' and XF_Type in(1,2) and XF_Meal=2
select sum(YuCi_change) as YuCi_C ,count(YuCi_Change) as YuCi_B  from Record_XF  where left(Date_Time,7)='2026-10' and XF_Type=3 and XF_Meal=2
select sum(YuE_change) as YuE_C ,count(YuE_Change) as YuE_B  from Record_XF  where left(Date_Time,7)='2026-10' and XF_Type in(1,2) and XF_Meal=3
select sum(YuCi_change) as YuCi_C ,count(YuCi_Change) as YuCi_B  from Record_XF  where left(Date_Time,7)='2026-10' and XF_Type=3 and XF_Meal=3
select sum(YuE_change) as YuE_C ,count(YuE_Change) as YuE_B  from Record_XF  where left(Date_Time,7)='2026-10' and XF_Type in(1,2) and XF_Meal=4
select sum(YuCi_change) as YuCi_C ,count(YuCi_Change) as YuCi_B  from Record_XF  where left(Date_Time,7)='2026-10' and XF_Type=3 and XF_Meal=4
select sum(YuE_change) as YuE_C ,count(YuE_Change) as YuE_B  from Record_XF  where left(Date_Time,7)='2026-10' and XF_Type in(1,2) and XF_Meal=5
select sum(YuCi_change) as YuCi_C ,count(YuCi_Change) as YuCi_B  from Record_XF  where left(Date_Time,7)='2026-10' and XF_Type=3 and XF_Meal=5
select sum(YuE_change) as YuE_C ,count(YuE_Change) as YuE_B  from Record_XF  where left(Date_Time,7)='2026-10' and XF_Type in(1,2,201,179)
select sum(YuCi_change) as YuCi_C ,count(YuCi_Change) as YuCi_B  from Record_XF  where left(Date_Time,7)='2026-10' and XF_Type=3
select sum(YuE_Change) as YuE_C,count(YuE_Change) as Count_Bi  from Record_XF  where XF_Type in(1,2,201,179) and left(Date_Time,7)='2026-10' 
select sum(YuCi_Change) as YuCi_C,count(YuCi_Change) as Count_Ci_Bi from Record_XF  where XF_Type=3 and left(Date_Time,7)='2026-10' 
select sum(YuE_Change) as YuE_C,count(YuE_Change) as Count_Bi  from Record_XF  where XF_Type in(1,2) and XF_Meal=1 and left(Date_Time,7)='2026-10' 
select sum(YuCi_Change) as YuCi_C,count(YuCi_Change) as Count_Ci_Bi from Record_XF  where  XF_Meal=1 and XF_Type=3 and left(Date_Time,7)='2026-10' 
select sum(YuE_Change) as YuE_C,count(YuE_Change) as Count_Bi  from Record_XF  where XF_Type in(1,2) and XF_Meal=2 and left(Date_Time,7)='2026-10' 
select sum(YuCi_Change) as YuCi_C,count(YuCi_Change) as Count_Ci_Bi from Record_XF  where XF_Meal=2 and XF_Type=3 and left(Date_Time,7)='2026-10' 
select sum(YuE_Change) as YuE_C,count(YuE_Change) as Count_Bi  from Record_XF  where XF_Type in(1,2) and XF_Meal=3 and left(Date_Time,7)='2026-10' 
select sum(YuCi_Change) as YuCi_C,count(YuCi_Change) as Count_Ci_Bi from Record_XF  where XF_Meal=3 and XF_Type=3 and left(Date_Time,7)='2026-10' 
select sum(YuE_Change) as YuE_C,count(YuE_Change) as Count_Bi  from Record_XF  where XF_Type in(1,2) and XF_Meal=4 and left(Date_Time,7)='2026-10' 
select sum(YuCi_Change) as YuCi_C,count(YuCi_Change) as Count_Ci_Bi from Record_XF  where XF_Meal=4 and XF_Type=3 and left(Date_Time,7)='2026-10' 
select sum(YuE_Change) as YuE_C,count(YuE_Change) as Count_Bi  from Record_XF  where XF_Type in(1,2) and XF_Meal=5 and left(Date_Time,7)='2026-10' 
select sum(YuCi_Change) as YuCi_C,count(YuCi_Change) as Count_Ci_Bi from Record_XF  where XF_Meal=5 and XF_Type=3 and left(Date_Time,7)='2026-10' 
select sum(YuE_change) as YuE_C ,count(YuE_Change) as YuE_B  from Record_XF  where left(Date_Time,7)='2026-11' and XF_Type in(1,2) and XF_Meal=1
select sum(YuCi_change) as YuCi_C ,count(YuCi_Change) as YuCi_B  from Record_XF  where left(Date_Time,7)='2026-11' and XF_Type=3 and XF_Meal=1
select sum(YuE_change) as YuE_C ,count(YuE_Change) as YuE_B  from Record_XF  where left(Date_Time,7)='2026-11' and XF_Type in(1,2) and XF_Meal=2
select sum(YuCi_change) as YuCi_C ,count(YuCi_Change) as YuCi_B  from Record_XF  where left(Date_Time,7)='2026-11' and XF_Type=3 and XF_Meal=2
select sum(YuE_change) as YuE_C ,count(YuE_Change) as YuE_B  from Record_XF  where left(Date_Time,7)='2026-11' and XF_Type in(1,2) and XF_Meal=3
select sum(YuCi_change) as YuCi_C ,count(YuCi_Change) as YuCi_B  from Record_XF  where left(Date_Time,7)='2026-11' and XF_Type=3 and XF_Meal=3
select sum(YuE_change) as YuE_C ,count(YuE_Change) as YuE_B  from Record_XF  where left(Date_Time,7)='2026-11' and XF_Type in(1,2) and XF_Meal=4
select sum(YuCi_change) as YuCi_C ,count(YuCi_Change) as YuCi_B  from Record_XF  where left(Date_Time,7)='2026-11' and XF_Type=3 and XF_Meal=4
select sum(YuE_change) as YuE_C ,count(YuE_Change) as YuE_B  from Record_XF  where left(Date_Time,7)='2026-11' and XF_Type in(1,2) and XF_Meal=5
select sum(YuCi_change) as YuCi_C ,count(YuCi_Change) as YuCi_B  from Record_XF  where left(Date_Time,7)='2026-11' and XF_Type=3 and XF_Meal=5
select sum(YuE_change) as YuE_C ,count(YuE_Change) as YuE_B  from Record_XF  where left(Date_Time,7)='2026-11' and XF_Type in(1,2,201,179)
select sum(YuCi_change) as YuCi_C ,count(YuCi_Change) as YuCi_B  from Record_XF  where left(Date_Time,7)='2026-11' and XF_Type=3
select sum(YuE_change) as YuE_C ,count(YuE_Change) as YuE_B  from Record_XF  where left(Date_Time,7)='2026-11' and XF_Type in(1,2) and XF_Meal=1
select sum(YuCi_change) as YuCi_C ,count(YuCi_Change) as YuCi_B  from Record_XF  where left(Date_Time,7)='2026-11' and XF_Type=3 and XF_Meal=1
select sum(YuE_change) as YuE_C ,count(YuE_Change) as YuE_B  from Record_XF  where left(Date_Time,7)='2026-11' and XF_Type in(1,2) and XF_Meal=2
select sum(YuCi_change) as YuCi_C ,count(YuCi_Change) as YuCi_B  from Record_XF  where left(Date_Time,7)='2026-11' and XF_Type=3 and XF_Meal=2
select sum(YuE_change) as YuE_C ,count(YuE_Change) as YuE_B  from Record_XF  where left(Date_Time,7)='2026-11' and XF_Type in(1,2) and XF_Meal=3
select sum(YuCi_change) as YuCi_C ,count(YuCi_Change) as YuCi_B  from Record_XF  where left(Date_Time,7)='2026-11' and XF_Type=3 and XF_Meal=3
select sum(YuE_change) as YuE_C ,count(YuE_Change) as YuE_B  from Record_XF  where left(Date_Time,7)='2026-11' and XF_Type in(1,2) and XF_Meal=4
select sum(YuCi_change) as YuCi_C ,count(YuCi_Change) as YuCi_B  from Record_XF  where left(Date_Time,7)='2026-11' and XF_Type=3 and XF_Meal=4
select sum(YuE_change) as YuE_C ,count(YuE_Change) as YuE_B  from Record_XF  where left(Date_Time,7)='2026-11' and XF_Type in(1,2) and XF_Meal=5
select sum(YuCi_change) as YuCi_C ,count(YuCi_Change) as YuCi_B  from Record_XF  where left(Date_Time,7)='2026-11' and XF_Type=3 and XF_Meal=5
select sum(YuE_change) as YuE_C ,count(YuE_Change) as YuE_B  from Record_XF  where left(Date_Time,7)='2026-11' and XF_Type in(1,2,201,179)
select sum(YuCi_change) as YuCi_C ,count(YuCi_Change) as YuCi_B  from Record_XF  where left(Date_Time,7)='2026-11' and XF_Type=3
select sum(YuE_Change) as YuE_C,count(YuE_Change) as Count_Bi  from Record_XF  where XF_Type in(1,2,201,179) and left(Date_Time,7)='2026-11' 
select sum(YuCi_Change) as YuCi_C,count(YuCi_Change) as Count_Ci_Bi from Record_XF  where XF_Type=3 and left(Date_Time,7)='2026-11' 
select sum(YuE_Change) as YuE_C,count(YuE_Change) as Count_Bi  from Record_XF  where XF_Type in(1,2) and XF_Meal=1 and left(Date_Time,7)='2026-11' 
select sum(YuCi_Change) as YuCi_C,count(YuCi_Change) as Count_Ci_Bi from Record_XF  where  XF_Meal=1 and XF_Type=3 and left(Date_Time,7)='2026-11' 
select sum(YuE_Change) as YuE_C,count(YuE_Change) as Count_Bi  from Record_XF  where XF_Type in(1,2) and XF_Meal=2 and left(Date_Time,7)='2026-11' 
select sum(YuCi_Change) as YuCi_C,count(YuCi_Change) as Count_Ci_Bi from Record_XF  where XF_Meal=2 and XF_Type=3 and left(Date_Time,7)='2026-11' 
select sum(YuE_Change) as YuE_C,count(YuE_Change) as Count_Bi  from Record_XF  where XF_Type in(1,2) and XF_Meal=3 and left(Date_Time,7)='2026-11' 
select sum(YuCi_Change) as YuCi_C,count(YuCi_Change) as Count_Ci_Bi from Record_XF  where XF_Meal=3 and XF_Type=3 and left(Date_Time,7)='2026-11' 
select sum(YuE_Change) as YuE_C,count(YuE_Change) as Count_Bi  from Record_XF  where XF_Type in(1,2) and XF_Meal=4 and left(Date_Time,7)='2026-11' 
select sum(YuCi_Change) as YuCi_C,count(YuCi_Change) as Count_Ci_Bi from Record_XF  where XF_Meal=4 and XF_Type=3 and left(Date_Time,7)='2026-11' 
select sum(YuE_Change) as YuE_C,count(YuE_Change) as Count_Bi  from Record_XF  where XF_Type in(1,2) and XF_Meal=5 and left(Date_Time,7)='2026-11' 
select sum(YuCi_Change) as YuCi_C,count(YuCi_Change) as Count_Ci_Bi from Record_XF  where XF_Meal=5 and XF_Type=3 and left(Date_Time,7)='2026-11' 
