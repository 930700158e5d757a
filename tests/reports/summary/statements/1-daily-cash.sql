select * from Sys_Para where P1='现金收支日报表'and Para_Name='HZ_Rep_Format'
select SubParaName,P2,P3,P4,P5 from Sys_Para where Para_Name = 'HZ_Rep_Format' and SubParaName = '001' 
select sum(YuE_change) as YuE_C ,count(YuE_Change) as YuE_B  from Record_XF  where left(date_Time,10)>='2026-11-01' and left(date_Time,10)<='2026-11-03' and XF_Type in(161,202,169,170,174,129)
select sum(YuCi_change) as YuCi_C ,count(YuCi_Change) as YuCi_B  from Record_XF  where left(date_Time,10)>='2026-11-01' and left(date_Time,10)<='2026-11-03' and XF_Type in (163,171,172)
select sum(YuE_change) as YuE_C ,count(YuE_Change) as YuE_B  from Record_XF  where left(date_Time,10)>='2026-11-01' and left(date_Time,10)<='2026-11-03' and XF_Type in(5,6)
select sum(YuCi_change) as YuCi_C ,count(YuCi_Change) as YuCi_B  from Record_XF  where left(date_Time,10)>='2026-11-01' and left(date_Time,10)<='2026-11-03' and XF_Type in(7,8)
select Card_Log.FaKa_GBF,Card_Log.Huan_GBF from Card_Log,Card_Type  where Card_Type.Del_YN=0 and Card_Log.C_LeiBie=Card_Type.C_LeiBie and Card_Log.Op_Type=0 and left(date_Time,10)>='2026-11-01' and left(date_Time,10)<='2026-11-03'
select Card_Log.Huan_GBF from Card_Log,Card_Type  where Card_Type.Del_YN=0 and Card_Log.C_LeiBie=Card_Type.C_LeiBie and Card_Log.Op_Type=3 and left(date_Time,10)>='2026-11-01' and left(date_Time,10)<='2026-11-03'
select sum(YuE_change) as YuE_C ,count(YuE_Change) as YuE_B  from Record_XF  where left(date_Time,10)>='2026-11-01' and left(date_Time,10)<='2026-11-03' and XF_Type=162
select sum(YuE_change) as YuE_C ,count(YuE_Change) as YuE_B  from Record_XF  where left(date_Time,10)>='2026-11-01' and left(date_Time,10)<='2026-11-03' and XF_Type in(9,10)
select Card_Log.Tui_GBF from Card_Log,Card_Type  where Card_Type.Del_YN=0 and Card_Log.C_LeiBie=Card_Type.C_LeiBie and Card_Log.Op_Type=4 and left(date_Time,10)>='2026-11-01' and left(date_Time,10)<='2026-11-03'
select sum(YuE_change) as YuE_C ,count(YuE_Change) as YuE_B  from Record_XF  where left(Date_Time,10)='2026-11-01' and XF_Type in(161,202,169,170,174,129)
select sum(YuCi_change) as YuCi_C ,count(YuCi_Change) as YuCi_B  from Record_XF  where left(Date_Time,10)='2026-11-01' and XF_Type in (163,171,172)
select sum(YuE_change) as YuE_C ,count(YuE_Change) as YuE_B  from Record_XF  where left(Date_Time,10)='2026-11-01' and XF_Type in(5,6)
select sum(YuCi_change) as YuCi_C ,count(YuCi_Change) as YuCi_B  from Record_XF  where left(Date_Time,10)='2026-11-01' and XF_Type in(7,8)
select Card_Log.FaKa_GBF,Card_Log.Huan_GBF from Card_Log,Card_Type  where Card_Type.Del_YN=0 and Card_Log.C_LeiBie=Card_Type.C_LeiBie and Card_Log.Op_Type=0 and left(Date_Time,10)='2026-11-01'
select Card_Log.Huan_GBF from Card_Log,Card_Type  where Card_Type.Del_YN=0 and Card_Log.C_LeiBie=Card_Type.C_LeiBie and Card_Log.Op_Type=3 and left(Date_Time,10)='2026-11-01'
select sum(YuE_change) as YuE_C ,count(YuE_Change) as YuE_B  from Record_XF  where left(Date_Time,10)='2026-11-01' and XF_Type=162
select sum(YuE_change) as YuE_C ,count(YuE_Change) as YuE_B  from Record_XF  where left(Date_Time,10)='2026-11-01' and XF_Type in(9,10)
select Card_Log.Tui_GBF from Card_Log,Card_Type  where Card_Type.Del_YN=0 and Card_Log.C_LeiBie=Card_Type.C_LeiBie and Card_Log.Op_Type=4 and left(Date_Time,10)='2026-11-01'
select sum(YuE_change) as YuE_C ,count(YuE_Change) as YuE_B  from Record_XF  where left(Date_Time,10)='2026-11-01' and XF_Type in(161,202,169,170,174,129)
select sum(YuCi_change) as YuCi_C ,count(YuCi_Change) as YuCi_B  from Record_XF  where left(Date_Time,10)='2026-11-01' and XF_Type in (163,171,172)
select sum(YuE_change) as YuE_C ,count(YuE_Change) as YuE_B  from Record_XF  where left(Date_Time,10)='2026-11-01' and XF_Type in(5,6)
select sum(YuCi_change) as YuCi_C ,count(YuCi_Change) as YuCi_B  from Record_XF  where left(Date_Time,10)='2026-11-01' and XF_Type in(7,8)
select Card_Log.FaKa_GBF,Card_Log.Huan_GBF from Card_Log,Card_Type  where Card_Type.Del_YN=0 and Card_Log.C_LeiBie=Card_Type.C_LeiBie and Card_Log.Op_Type=0 and left(Date_Time,10)='2026-11-01'
select Card_Log.Huan_GBF from Card_Log,Card_Type  where Card_Type.Del_YN=0 and Card_Log.C_LeiBie=Card_Type.C_LeiBie and Card_Log.Op_Type=3 and left(Date_Time,10)='2026-11-01'
select sum(YuE_change) as YuE_C ,count(YuE_Change) as YuE_B  from Record_XF  where left(Date_Time,10)='2026-11-01' and XF_Type=162
select sum(YuE_change) as YuE_C ,count(YuE_Change) as YuE_B  from Record_XF  where left(Date_Time,10)='2026-11-01' and XF_Type in(9,10)
select Card_Log.Tui_GBF from Card_Log,Card_Type  where Card_Type.Del_YN=0 and Card_Log.C_LeiBie=Card_Type.C_LeiBie and Card_Log.Op_Type=4 and left(Date_Time,10)='2026-11-01'
select sum(YuE_Change) as YuE_C,count(YuE_Change) as Count_Bi  from Record_XF  where XF_Type in (5,6) and left(Date_Time,10)='2026-11-01' 
select sum(YuCi_Change) as YuCi_C,count(YuCi_Change) as Count_Ci_Bi from Record_XF  where XF_Type in (7,8) and left(Date_Time,10)='2026-11-01' 
select FaKa_GBF from Card_Type,Card_Log  where Card_Log.Op_Type=0 and Card_Type.C_LeiBie=Card_Log.C_LeiBie and Card_Type.Del_YN=0 and left(Date_Time,10)='2026-11-01'
select Huan_GBF from Card_Type,Card_Log  where Card_Log.Op_Type=3 and Card_Type.C_LeiBie=Card_Log.C_LeiBie and Card_Type.Del_YN=0 and left(Date_Time,10)='2026-11-01'
select sum(YuE_change) as YuE_C ,count(YuE_Change) as YuE_B  from Record_XF  where left(Date_Time,10)='2026-11-02' and XF_Type in(161,202,169,170,174,129)
select sum(YuCi_change) as YuCi_C ,count(YuCi_Change) as YuCi_B  from Record_XF  where left(Date_Time,10)='2026-11-02' and XF_Type in (163,171,172)
select sum(YuE_change) as YuE_C ,count(YuE_Change) as YuE_B  from Record_XF  where left(Date_Time,10)='2026-11-02' and XF_Type in(5,6)
select sum(YuCi_change) as YuCi_C ,count(YuCi_Change) as YuCi_B  from Record_XF  where left(Date_Time,10)='2026-11-02' and XF_Type in(7,8)
select Card_Log.FaKa_GBF,Card_Log.Huan_GBF from Card_Log,Card_Type  where Card_Type.Del_YN=0 and Card_Log.C_LeiBie=Card_Type.C_LeiBie and Card_Log.Op_Type=0 and left(Date_Time,10)='2026-11-02'
select Card_Log.Huan_GBF from Card_Log,Card_Type  where Card_Type.Del_YN=0 and Card_Log.C_LeiBie=Card_Type.C_LeiBie and Card_Log.Op_Type=3 and left(Date_Time,10)='2026-11-02'
select sum(YuE_change) as YuE_C ,count(YuE_Change) as YuE_B  from Record_XF  where left(Date_Time,10)='2026-11-02' and XF_Type=162
select sum(YuE_change) as YuE_C ,count(YuE_Change) as YuE_B  from Record_XF  where left(Date_Time,10)='2026-11-02' and XF_Type in(9,10)
select Card_Log.Tui_GBF from Card_Log,Card_Type  where Card_Type.Del_YN=0 and Card_Log.C_LeiBie=Card_Type.C_LeiBie and Card_Log.Op_Type=4 and left(Date_Time,10)='2026-11-02'
select sum(YuE_change) as YuE_C ,count(YuE_Change) as YuE_B  from Record_XF  where left(Date_Time,10)='2026-11-02' and XF_Type in(161,202,169,170,174,129)
select sum(YuCi_change) as YuCi_C ,count(YuCi_Change) as YuCi_B  from Record_XF  where left(Date_Time,10)='2026-11-02' and XF_Type in (163,171,172)
select sum(YuE_change) as YuE_C ,count(YuE_Change) as YuE_B  from Record_XF  where left(Date_Time,10)='2026-11-02' and XF_Type in(5,6)
select sum(YuCi_change) as YuCi_C ,count(YuCi_Change) as YuCi_B  from Record_XF  where left(Date_Time,10)='2026-11-02' and XF_Type in(7,8)
select Card_Log.FaKa_GBF,Card_Log.Huan_GBF from Card_Log,Card_Type  where Card_Type.Del_YN=0 and Card_Log.C_LeiBie=Card_Type.C_LeiBie and Card_Log.Op_Type=0 and left(Date_Time,10)='2026-11-02'
select Card_Log.Huan_GBF from Card_Log,Card_Type  where Card_Type.Del_YN=0 and Card_Log.C_LeiBie=Card_Type.C_LeiBie and Card_Log.Op_Type=3 and left(Date_Time,10)='2026-11-02'
select sum(YuE_change) as YuE_C ,count(YuE_Change) as YuE_B  from Record_XF  where left(Date_Time,10)='2026-11-02' and XF_Type=162
select sum(YuE_change) as YuE_C ,count(YuE_Change) as YuE_B  from Record_XF  where left(Date_Time,10)='2026-11-02' and XF_Type in(9,10)
select Card_Log.Tui_GBF from Card_Log,Card_Type  where Card_Type.Del_YN=0 and Card_Log.C_LeiBie=Card_Type.C_LeiBie and Card_Log.Op_Type=4 and left(Date_Time,10)='2026-11-02'
select sum(YuE_Change) as YuE_C,count(YuE_Change) as Count_Bi  from Record_XF  where XF_Type in(161,202,169,170,174,129) and left(Date_Time,10)='2026-11-02' 
select sum(YuCi_Change) as YuCi_C,count(YuCi_Change) as Count_Ci_Bi from Record_XF  where XF_Type in (163,171,172) and left(Date_Time,10)='2026-11-02' 
select sum(YuE_Change) as YuE_C,count(YuE_Change) as Count_Bi  from Record_XF  where XF_Type in (5,6) and left(Date_Time,10)='2026-11-02' 
select sum(YuCi_Change) as YuCi_C,count(YuCi_Change) as Count_Ci_Bi from Record_XF  where XF_Type in (7,8) and left(Date_Time,10)='2026-11-02' 
select FaKa_GBF from Card_Type,Card_Log  where Card_Log.Op_Type=0 and Card_Type.C_LeiBie=Card_Log.C_LeiBie and Card_Type.Del_YN=0 and left(Date_Time,10)='2026-11-02'
select Huan_GBF from Card_Type,Card_Log  where Card_Log.Op_Type=3 and Card_Type.C_LeiBie=Card_Log.C_LeiBie and Card_Type.Del_YN=0 and left(Date_Time,10)='2026-11-02'
select Tui_GBF from Card_Type,Card_Log  where Card_Log.Op_Type=4 and Card_Type.C_LeiBie=Card_Log.C_LeiBie and Card_Type.Del_YN=0 and left(Date_Time,10)='2026-11-02'
select sum(YuE_change) as YuE_C ,count(YuE_Change) as YuE_B  from Record_XF  where left(Date_Time,10)='2026-11-03' and XF_Type in(161,202,169,170,174,129)
select sum(YuCi_change) as YuCi_C ,count(YuCi_Change) as YuCi_B  from Record_XF  where left(Date_Time,10)='2026-11-03' and XF_Type in (163,171,172)
select sum(YuE_change) as YuE_C ,count(YuE_Change) as YuE_B  from Record_XF  where left(Date_Time,10)='2026-11-03' and XF_Type in(5,6)
select sum(YuCi_change) as YuCi_C ,count(YuCi_Change) as YuCi_B  from Record_XF  where left(Date_Time,10)='2026-11-03' and XF_Type in(7,8)
select Card_Log.FaKa_GBF,Card_Log.Huan_GBF from Card_Log,Card_Type  where Card_Type.Del_YN=0 and Card_Log.C_LeiBie=Card_Type.C_LeiBie and Card_Log.Op_Type=0 and left(Date_Time,10)='2026-11-03'
select Card_Log.Huan_GBF from Card_Log,Card_Type  where Card_Type.Del_YN=0 and Card_Log.C_LeiBie=Card_Type.C_LeiBie and Card_Log.Op_Type=3 and left(Date_Time,10)='2026-11-03'
select sum(YuE_change) as YuE_C ,count(YuE_Change) as YuE_B  from Record_XF  where left(Date_Time,10)='2026-11-03' and XF_Type=162
select sum(YuE_change) as YuE_C ,count(YuE_Change) as YuE_B  from Record_XF  where left(Date_Time,10)='2026-11-03' and XF_Type in(9,10)
select Card_Log.Tui_GBF from Card_Log,Card_Type  where Card_Type.Del_YN=0 and Card_Log.C_LeiBie=Card_Type.C_LeiBie and Card_Log.Op_Type=4 and left(Date_Time,10)='2026-11-03'
select sum(YuE_change) as YuE_C ,count(YuE_Change) as YuE_B  from Record_XF  where left(Date_Time,10)='2026-11-03' and XF_Type in(161,202,169,170,174,129)
select sum(YuCi_change) as YuCi_C ,count(YuCi_Change) as YuCi_B  from Record_XF  where left(Date_Time,10)='2026-11-03' and XF_Type in (163,171,172)
select sum(YuE_change) as YuE_C ,count(YuE_Change) as YuE_B  from Record_XF  where left(Date_Time,10)='2026-11-03' and XF_Type in(5,6)
select sum(YuCi_change) as YuCi_C ,count(YuCi_Change) as YuCi_B  from Record_XF  where left(Date_Time,10)='2026-11-03' and XF_Type in(7,8)
select Card_Log.FaKa_GBF,Card_Log.Huan_GBF from Card_Log,Card_Type  where Card_Type.Del_YN=0 and Card_Log.C_LeiBie=Card_Type.C_LeiBie and Card_Log.Op_Type=0 and left(Date_Time,10)='2026-11-03'
select Card_Log.Huan_GBF from Card_Log,Card_Type  where Card_Type.Del_YN=0 and Card_Log.C_LeiBie=Card_Type.C_LeiBie and Card_Log.Op_Type=3 and left(Date_Time,10)='2026-11-03'
select sum(YuE_change) as YuE_C ,count(YuE_Change) as YuE_B  from Record_XF  where left(Date_Time,10)='2026-11-03' and XF_Type=162
select sum(YuE_change) as YuE_C ,count(YuE_Change) as YuE_B  from Record_XF  where left(Date_Time,10)='2026-11-03' and XF_Type in(9,10)
select Card_Log.Tui_GBF from Card_Log,Card_Type  where Card_Type.Del_YN=0 and Card_Log.C_LeiBie=Card_Type.C_LeiBie and Card_Log.Op_Type=4 and left(Date_Time,10)='2026-11-03'
select sum(YuE_Change) as YuE_C,count(YuE_Change) as Count_Bi  from Record_XF  where XF_Type in (5,6) and left(Date_Time,10)='2026-11-03' 
select sum(YuCi_Change) as YuCi_C,count(YuCi_Change) as Count_Ci_Bi from Record_XF  where XF_Type in (7,8) and left(Date_Time,10)='2026-11-03' 
select FaKa_GBF from Card_Type,Card_Log  where Card_Log.Op_Type=0 and Card_Type.C_LeiBie=Card_Log.C_LeiBie and Card_Type.Del_YN=0 and left(Date_Time,10)='2026-11-03'
select Huan_GBF from Card_Type,Card_Log  where Card_Log.Op_Type=3 and Card_Type.C_LeiBie=Card_Log.C_LeiBie and Card_Type.Del_YN=0 and left(Date_Time,10)='2026-11-03'
