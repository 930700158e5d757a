select * from Sys_Para where P1='消费统计汇总表'and Para_Name='HZ_Rep_Format'
select SubParaName,P2,P3,P4,P5 from Sys_Para where Para_Name = 'HZ_Rep_Format' and SubParaName = '009' 
select sum(YuE_change) as YuE_C ,count(YuE_Change) as YuE_B  from Record_XF  where left(date_Time,10)>='2026-11-01' and left(date_Time,10)<='2026-11-07' and XF_Type in(1,2) and XF_Meal=1
select sum(YuCi_change) as YuCi_C ,count(YuCi_Change) as YuCi_B  from Record_XF  where left(date_Time,10)>='2026-11-01' and left(date_Time,10)<='2026-11-07' and XF_Type=3 and XF_Meal=1
select sum(YuE_change) as YuE_C ,count(YuE_Change) as YuE_B  from Record_XF  where left(date_Time,10)>='2026-11-01' and left(date_Time,10)<='2026-11-07' and XF_Type in(1,2) and XF_Meal=2
select sum(YuCi_change) as YuCi_C ,count(YuCi_Change) as YuCi_B  from Record_XF  where left(date_Time,10)>='2026-11-01' and left(date_Time,10)<='2026-11-07' and XF_Type=3 and XF_Meal=2
select sum(YuE_change) as YuE_C ,count(YuE_Change) as YuE_B  from Record_XF  where left(date_Time,10)>='2026-11-01' and left(date_Time,10)<='2026-11-07' and XF_Type in(1,2) and XF_Meal=3
select sum(YuCi_change) as YuCi_C ,count(YuCi_Change) as YuCi_B  from Record_XF  where left(date_Time,10)>='2026-11-01' and left(date_Time,10)<='2026-11-07' and XF_Type=3 and XF_Meal=3
select sum(YuE_change) as YuE_C ,count(YuE_Change) as YuE_B  from Record_XF  where left(date_Time,10)>='2026-11-01' and left(date_Time,10)<='2026-11-07' and XF_Type in(1,2) and XF_Meal=4
select sum(YuCi_change) as YuCi_C ,count(YuCi_Change) as YuCi_B  from Record_XF  where left(date_Time,10)>='2026-11-01' and left(date_Time,10)<='2026-11-07' and XF_Type=3 and XF_Meal=4
select sum(YuE_change) as YuE_C ,count(YuE_Change) as YuE_B  from Record_XF  where left(date_Time,10)>='2026-11-01' and left(date_Time,10)<='2026-11-07' and XF_Type in(1,2) and XF_Meal=5
select sum(YuCi_change) as YuCi_C ,count(YuCi_Change) as YuCi_B  from Record_XF  where left(date_Time,10)>='2026-11-01' and left(date_Time,10)<='2026-11-07' and XF_Type=3 and XF_Meal=5
select sum(YuE_change) as YuE_C ,count(YuE_Change) as YuE_B  from Record_XF  where left(date_Time,10)>='2026-11-01' and left(date_Time,10)<='2026-11-07' and XF_Type in(1,2,201,179)
select sum(YuCi_change) as YuCi_C ,count(YuCi_Change) as YuCi_B  from Record_XF  where left(date_Time,10)>='2026-11-01' and left(date_Time,10)<='2026-11-07' and XF_Type=3
