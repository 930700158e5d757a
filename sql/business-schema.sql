-- Business database of the card installation, as the tests and the demo use it.
-- Column order is part of the contract: rows are read and written by position.
-- Money is in fen (hundredths); dates are text 'yyyy-MM-dd hh:mm:ss'.
-- Names, codes and card numbers compare without regard to case, as the
-- installation's engines compare text; dates, times and passwords compare byte
-- for byte.

CREATE TABLE Record_XF (
  ID INTEGER PRIMARY KEY AUTOINCREMENT,
  Mach_ID INTEGER,
  Pinfo_id INTEGER,
  Card_No_Lng INTEGER,
  Shou_Kuan TEXT COLLATE NOCASE,
  C_LeiBie INTEGER,
  XF_Dian_ID INTEGER,
  XF_Type INTEGER,
  XF_Meal INTEGER,
  YuE_Old INTEGER,
  YuE_Change INTEGER,
  YuE_New INTEGER,
  C_QuHao INTEGER,
  Card_LiuShui INTEGER,
  Mach_LiuShui INTEGER,
  Date_Time TEXT,
  Card_No TEXT COLLATE NOCASE,
  YuCi_Change INTEGER,
  Operator_id INTEGER,
  XF_Unit INTEGER,
  Ci_QuHao INTEGER,
  Ci_LiuShui INTEGER,
  YuCi_New INTEGER,
  Err_Code INTEGER DEFAULT 0,
  Rec_Time TEXT,
  DC_Date TEXT,
  Shui_Change INTEGER,
  Is_ShuiKong INTEGER
) STRICT;
CREATE INDEX IX_Record_XF_Date ON Record_XF(Date_Time);
-- The transaction detail reads a period in time order and kind along this
-- index: its first rows show at once, and a rare kind is found without
-- reading every row of the period.
CREATE INDEX IX_Record_XF_Date_Type ON Record_XF(Date_Time, XF_Type);
CREATE INDEX IX_Record_XF_Type_Date ON Record_XF(XF_Type, Date_Time);
CREATE INDEX IX_Record_XF_Person_Date ON Record_XF(Pinfo_id, Date_Time);
CREATE INDEX IX_Record_XF_Card ON Record_XF(Card_No, Card_LiuShui);

-- Settled rows, copied with their ID by 'insert ... select *'.
CREATE TABLE Record_BF_XF (
  ID INTEGER,
  Mach_ID INTEGER,
  Pinfo_id INTEGER,
  Card_No_Lng INTEGER,
  Shou_Kuan TEXT COLLATE NOCASE,
  C_LeiBie INTEGER,
  XF_Dian_ID INTEGER,
  XF_Type INTEGER,
  XF_Meal INTEGER,
  YuE_Old INTEGER,
  YuE_Change INTEGER,
  YuE_New INTEGER,
  C_QuHao INTEGER,
  Card_LiuShui INTEGER,
  Mach_LiuShui INTEGER,
  Date_Time TEXT,
  Card_No TEXT COLLATE NOCASE,
  YuCi_Change INTEGER,
  Operator_id INTEGER,
  XF_Unit INTEGER,
  Ci_QuHao INTEGER,
  Ci_LiuShui INTEGER,
  YuCi_New INTEGER,
  Err_Code INTEGER DEFAULT 0,
  Rec_Time TEXT,
  DC_Date TEXT,
  Shui_Change INTEGER,
  Is_ShuiKong INTEGER
) STRICT;
CREATE INDEX IX_Record_BF_XF_Date ON Record_BF_XF(Date_Time);

CREATE TABLE Card_Info (
  ID INTEGER PRIMARY KEY AUTOINCREMENT,
  Pinfo_id INTEGER,
  C_BianHao TEXT COLLATE NOCASE,
  Card_No TEXT COLLATE NOCASE,
  Card_No_Lng INTEGER,
  Card_Number TEXT COLLATE NOCASE,
  Card_Model INTEGER DEFAULT 0,
  C_GuaShi INTEGER DEFAULT 0,
  C_YuE_ID INTEGER DEFAULT 0,
  C_YuCi_ID INTEGER DEFAULT 0,
  ID_YuE_Now TEXT,
  Card_Type INTEGER,
  FaKa_DT TEXT,
  Card_Remark TEXT COLLATE NOCASE,
  C_LeiBie INTEGER
) STRICT;
CREATE INDEX IX_Card_Info_Person ON Card_Info(Pinfo_id);
CREATE INDEX IX_Card_Info_CardNo ON Card_Info(Card_No);

CREATE TABLE Card_Type (
  ID INTEGER PRIMARY KEY AUTOINCREMENT,
  C_LeiBie INTEGER,
  C_Name TEXT COLLATE NOCASE,
  C_Remark TEXT COLLATE NOCASE,
  C_F_Money INTEGER,
  C_T_Money INTEGER,
  C_H_Money INTEGER,
  Ci_Yuan INTEGER,
  Tian_Yuan INTEGER,
  Tian_Ci INTEGER,
  Zao_Yuan INTEGER,
  Zao_Ci INTEGER,
  Zhong_Yuan INTEGER,
  Zhong_Ci INTEGER,
  Wan_Yuan INTEGER,
  Wan_Ci INTEGER,
  Ye_Yuan INTEGER,
  Ye_Ci INTEGER,
  Xiao_Yuan INTEGER,
  Xiao_Ci INTEGER,
  BT_Money INTEGER,
  BT_Ci INTEGER,
  Del_YN INTEGER DEFAULT 0
) STRICT;

-- Card-management log; written outside the module and read by column name.
CREATE TABLE Card_Log (
  ID INTEGER PRIMARY KEY AUTOINCREMENT,
  Pinfo_id INTEGER,
  Card_No TEXT COLLATE NOCASE,
  Card_Number TEXT COLLATE NOCASE,
  Date_Time TEXT,
  Op_Type INTEGER,
  C_LeiBie INTEGER,
  Operator_ID INTEGER,
  FaKa_GBF INTEGER DEFAULT 0,
  Huan_GBF INTEGER DEFAULT 0,
  Tui_GBF INTEGER DEFAULT 0,
  Card_YuE INTEGER DEFAULT 0,
  Card_YuCi INTEGER DEFAULT 0,
  Huan_Number TEXT COLLATE NOCASE,
  ZY_JinE INTEGER DEFAULT 0,
  ZY_Ci INTEGER DEFAULT 0
) STRICT;
CREATE INDEX IX_Card_Log_Date ON Card_Log(Date_Time);
CREATE INDEX IX_Card_Log_Person ON Card_Log(Pinfo_id);

-- Exactly 27 columns: 'Ren_Per_Info.*, Dept_Name' reads Dept_Name at 27.
CREATE TABLE Ren_Per_Info (
  Pinfo_ID INTEGER PRIMARY KEY AUTOINCREMENT,
  Dept_ID INTEGER,
  Dept_No TEXT COLLATE NOCASE,
  P_Name TEXT COLLATE NOCASE,
  P_Code TEXT COLLATE NOCASE,
  P_Num TEXT COLLATE NOCASE,
  P_Sex TEXT COLLATE NOCASE,
  P_Position_ID INTEGER,
  P_IDCard TEXT COLLATE NOCASE,
  P_Birthday TEXT,
  P_Nation TEXT COLLATE NOCASE,
  P_Native TEXT COLLATE NOCASE,
  P_Edu TEXT COLLATE NOCASE,
  P_Marry TEXT COLLATE NOCASE,
  P_Phone TEXT COLLATE NOCASE,
  P_Mobile TEXT COLLATE NOCASE,
  P_Email TEXT COLLATE NOCASE,
  P_Address TEXT COLLATE NOCASE,
  P_Post TEXT COLLATE NOCASE,
  P_InDate TEXT,
  P_OutDate TEXT,
  P_State INTEGER DEFAULT 0,
  P_Photo TEXT COLLATE NOCASE,
  P_Pass TEXT,
  P_Remark TEXT COLLATE NOCASE,
  Add_DT TEXT,
  Del_YN INTEGER DEFAULT 0
) STRICT;
CREATE INDEX IX_Ren_Per_Info_Dept ON Ren_Per_Info(Dept_No);
CREATE INDEX IX_Ren_Per_Info_Code ON Ren_Per_Info(P_Code);

-- Dept_No is a hierarchical prefix code: a subtree is 'Dept_No like ''x%'''.
CREATE TABLE Ren_Dept_Info (
  Dept_ID INTEGER PRIMARY KEY AUTOINCREMENT,
  Dept_No TEXT COLLATE NOCASE,
  Dept_Name TEXT COLLATE NOCASE,
  Dept_Level INTEGER,
  Dept_Code TEXT COLLATE NOCASE,
  Last_DeptNo TEXT COLLATE NOCASE,
  Dept_Remark TEXT COLLATE NOCASE,
  Del_YN INTEGER DEFAULT 0
) STRICT;
CREATE INDEX IX_Ren_Dept_Info_No ON Ren_Dept_Info(Dept_No);

CREATE TABLE Ren_Positions_Info (
  ID INTEGER PRIMARY KEY AUTOINCREMENT,
  Position_Name TEXT COLLATE NOCASE,
  Position_Remark TEXT COLLATE NOCASE
) STRICT;

-- Terminals; position 1 is the display name and position 44 the date the
-- terminal was put into service.
CREATE TABLE Mach_Info (
  Mach_ID INTEGER PRIMARY KEY AUTOINCREMENT,
  Mach_Name TEXT COLLATE NOCASE,
  Mach_No TEXT COLLATE NOCASE,
  Mach_Type INTEGER,
  Mach_XF_Type INTEGER,
  Card_BuTie INTEGER DEFAULT 0,
  XF_Dian_ID INTEGER,
  Mach_Unit INTEGER,
  Mach_IP TEXT COLLATE NOCASE,
  Mach_Port INTEGER,
  Mach_Com INTEGER,
  Mach_Baud INTEGER,
  Mach_Ver TEXT COLLATE NOCASE,
  Mach_Remark TEXT COLLATE NOCASE,
  Mach_Para1 TEXT COLLATE NOCASE,
  Mach_Para2 TEXT COLLATE NOCASE,
  Mach_Para3 TEXT COLLATE NOCASE,
  Mach_Para4 TEXT COLLATE NOCASE,
  Mach_Para5 TEXT COLLATE NOCASE,
  Mach_Para6 TEXT COLLATE NOCASE,
  Mach_Para7 TEXT COLLATE NOCASE,
  Mach_Para8 TEXT COLLATE NOCASE,
  Mach_Para9 TEXT COLLATE NOCASE,
  Mach_Para10 TEXT COLLATE NOCASE,
  Mach_Para11 TEXT COLLATE NOCASE,
  Mach_Para12 TEXT COLLATE NOCASE,
  Mach_Para13 TEXT COLLATE NOCASE,
  Mach_Para14 TEXT COLLATE NOCASE,
  Mach_Para15 TEXT COLLATE NOCASE,
  Mach_Para16 TEXT COLLATE NOCASE,
  Mach_Para17 TEXT COLLATE NOCASE,
  Mach_Para18 TEXT COLLATE NOCASE,
  Mach_Para19 TEXT COLLATE NOCASE,
  Mach_Para20 TEXT COLLATE NOCASE,
  Mach_Para21 TEXT COLLATE NOCASE,
  Mach_Para22 TEXT COLLATE NOCASE,
  Mach_Para23 TEXT COLLATE NOCASE,
  Mach_Para24 TEXT COLLATE NOCASE,
  Mach_Para25 TEXT COLLATE NOCASE,
  Mach_Para26 TEXT COLLATE NOCASE,
  Mach_Para27 TEXT COLLATE NOCASE,
  Mach_Para28 TEXT COLLATE NOCASE,
  Mach_Para29 TEXT COLLATE NOCASE,
  Del_YN INTEGER DEFAULT 0,
  New_Date TEXT
) STRICT;

CREATE TABLE XF_Dian_Info (
  XF_Dian_ID INTEGER PRIMARY KEY AUTOINCREMENT,
  XF_Dian_Name TEXT COLLATE NOCASE,
  XF_Dian_Remark TEXT COLLATE NOCASE,
  XF_Dian_Flag INTEGER DEFAULT 0,
  Del_YN INTEGER DEFAULT 0
) STRICT;

CREATE TABLE XF_Unit_Info (
  XF_Unit_ID INTEGER PRIMARY KEY AUTOINCREMENT,
  XF_Unit_Name TEXT COLLATE NOCASE,
  XF_Unit_Remark TEXT COLLATE NOCASE,
  XF_Unit_Flag INTEGER DEFAULT 0,
  Del_YN INTEGER DEFAULT 0
) STRICT;

-- Cashiers; SK_ID holds digits and is compared as text with Record_XF.Shou_Kuan.
CREATE TABLE XF_ShouKuan (
  ID INTEGER PRIMARY KEY AUTOINCREMENT,
  SK_ID TEXT COLLATE NOCASE,
  SK_Name TEXT COLLATE NOCASE,
  SK_Remark TEXT COLLATE NOCASE
) STRICT;

-- Subsidy batches: one row per employee and batch.
CREATE TABLE BuTie_OK (
  ID INTEGER PRIMARY KEY AUTOINCREMENT,
  Pinfo_ID INTEGER,
  Card_Number TEXT COLLATE NOCASE,
  Mach_ID INTEGER,
  Mach_No TEXT COLLATE NOCASE,
  FaFang_DT TEXT,
  ZhunBei_DT TEXT,
  ZhunBei_Ren_ID INTEGER,
  B_Remark TEXT COLLATE NOCASE,
  B_Source INTEGER DEFAULT 0,
  B_JinE INTEGER DEFAULT 0,
  B_JinE_SJ INTEGER DEFAULT 0,
  B_JinE_Old INTEGER DEFAULT 0,
  B_Ci INTEGER DEFAULT 0,
  B_Ci_SY INTEGER DEFAULT 0,
  B_Ci_Old INTEGER DEFAULT 0,
  B_Year INTEGER,
  B_Month INTEGER,
  B_Times INTEGER,
  B_Get_YuE INTEGER,
  B_Get_YuCi INTEGER,
  B_Type INTEGER DEFAULT 0,
  B_Get_DT TEXT,
  B_Get_Mach INTEGER,
  B_Get_LiuShui INTEGER,
  B_Check INTEGER DEFAULT 0,
  B_SF INTEGER DEFAULT 0,
  B_Unit INTEGER
) STRICT;
CREATE INDEX IX_BuTie_OK_Batch ON BuTie_OK(B_Year, B_Month, B_Times);
CREATE INDEX IX_BuTie_OK_Person ON BuTie_OK(Pinfo_ID);

-- Backup of batch rows, written outside the module.
CREATE TABLE BuTie_BF_OK (
  ID INTEGER,
  Pinfo_ID INTEGER,
  Card_Number TEXT COLLATE NOCASE,
  Mach_ID INTEGER,
  Mach_No TEXT COLLATE NOCASE,
  FaFang_DT TEXT,
  ZhunBei_DT TEXT,
  ZhunBei_Ren_ID INTEGER,
  B_Remark TEXT COLLATE NOCASE,
  B_Source INTEGER DEFAULT 0,
  B_JinE INTEGER DEFAULT 0,
  B_JinE_SJ INTEGER DEFAULT 0,
  B_JinE_Old INTEGER DEFAULT 0,
  B_Ci INTEGER DEFAULT 0,
  B_Ci_SY INTEGER DEFAULT 0,
  B_Ci_Old INTEGER DEFAULT 0,
  B_Year INTEGER,
  B_Month INTEGER,
  B_Times INTEGER,
  B_Get_YuE INTEGER,
  B_Get_YuCi INTEGER,
  B_Type INTEGER DEFAULT 0,
  B_Get_DT TEXT,
  B_Get_Mach INTEGER,
  B_Get_LiuShui INTEGER,
  B_Check INTEGER DEFAULT 0,
  B_SF INTEGER DEFAULT 0,
  B_Unit INTEGER
) STRICT;
CREATE INDEX IX_BuTie_BF_OK_FaFang ON BuTie_BF_OK(FaFang_DT);

-- Exactly 4 columns: 'BuTie_DuiYing.*, Mach_Info.Mach_No' reads Mach_No at 4.
CREATE TABLE BuTie_DuiYing (
  ID INTEGER PRIMARY KEY AUTOINCREMENT,
  Pinfo_ID INTEGER,
  Mach_ID INTEGER,
  B_Type INTEGER
) STRICT;

-- Meal periods and card limits for the terminals; one row, nothing before Zao_1.
CREATE TABLE XF_Can_Time (
  Zao_1 TEXT,
  Zao_2 TEXT,
  Zhong_1 TEXT,
  Zhong_2 TEXT,
  Wan_1 TEXT,
  Wan_2 TEXT,
  Ye_1 TEXT,
  Ye_2 TEXT,
  Xiao_1 TEXT,
  Xiao_2 TEXT,
  Max_Money INTEGER,
  Max_Ci INTEGER
) STRICT;

CREATE TABLE DC_ShiDuan (
  ID INTEGER PRIMARY KEY AUTOINCREMENT,
  DC_MoRen INTEGER DEFAULT 0,
  DC_Zao_1 TEXT,
  DC_Zao_2 TEXT,
  DC_Zao_YuKou INTEGER,
  DC_Zhong_1 TEXT,
  DC_Zhong_2 TEXT,
  DC_Zhong_YuKou INTEGER,
  DC_Wan_1 TEXT,
  DC_Wan_2 TEXT,
  DC_Wan_YuKou INTEGER,
  DC_Ye_1 TEXT,
  DC_Ye_2 TEXT,
  DC_Ye_YuKou INTEGER,
  DC_Xiao_1 TEXT,
  DC_Xiao_2 TEXT,
  DC_Xiao_YuKou INTEGER
) STRICT;

CREATE TABLE DC_ZhengChangRi (
  ID INTEGER PRIMARY KEY AUTOINCREMENT,
  Mon_Zao INTEGER DEFAULT 0,
  Mon_Zhong INTEGER DEFAULT 0,
  Mon_Wan INTEGER DEFAULT 0,
  Mon_Ye INTEGER DEFAULT 0,
  Mon_Xiao INTEGER DEFAULT 0,
  Tues_Zao INTEGER DEFAULT 0,
  Tues_Zhong INTEGER DEFAULT 0,
  Tues_Wan INTEGER DEFAULT 0,
  Tues_Ye INTEGER DEFAULT 0,
  Tues_Xiao INTEGER DEFAULT 0,
  Wed_Zao INTEGER DEFAULT 0,
  Wed_Zhong INTEGER DEFAULT 0,
  Wed_Wan INTEGER DEFAULT 0,
  Wed_Ye INTEGER DEFAULT 0,
  Wed_Xiao INTEGER DEFAULT 0,
  Thurs_Zao INTEGER DEFAULT 0,
  Thurs_Zhong INTEGER DEFAULT 0,
  Thurs_Wan INTEGER DEFAULT 0,
  Thurs_Ye INTEGER DEFAULT 0,
  Thurs_Xiao INTEGER DEFAULT 0,
  Fri_Zao INTEGER DEFAULT 0,
  Fri_Zhong INTEGER DEFAULT 0,
  Fri_Wan INTEGER DEFAULT 0,
  Fri_Ye INTEGER DEFAULT 0,
  Fri_Xiao INTEGER DEFAULT 0,
  Sat_Zao INTEGER DEFAULT 0,
  Sat_Zhong INTEGER DEFAULT 0,
  Sat_Wan INTEGER DEFAULT 0,
  Sat_Ye INTEGER DEFAULT 0,
  Sat_Xiao INTEGER DEFAULT 0,
  Sun_Zao INTEGER DEFAULT 0,
  Sun_Zhong INTEGER DEFAULT 0,
  Sun_Wan INTEGER DEFAULT 0,
  Sun_Ye INTEGER DEFAULT 0,
  Sun_Xiao INTEGER DEFAULT 0
) STRICT;

CREATE TABLE DC_TeShuRi (
  ID INTEGER PRIMARY KEY AUTOINCREMENT,
  TS_Date TEXT,
  TS_Zao INTEGER DEFAULT 0,
  TS_Zhong INTEGER DEFAULT 0,
  TS_Wan INTEGER DEFAULT 0,
  TS_Ye INTEGER DEFAULT 0,
  TS_Xiao INTEGER DEFAULT 0
) STRICT;

-- Parameter rows. On the 'Sys_Config' row P2 (position 7) is the card system
-- (1 = IC) and P5 (position 10) the times switch.
CREATE TABLE Sys_Para (
  ID INTEGER PRIMARY KEY AUTOINCREMENT,
  Para_Name TEXT COLLATE NOCASE,
  SubParaName TEXT COLLATE NOCASE,
  Para_Type INTEGER,
  Para_Remark TEXT COLLATE NOCASE,
  Para_Flag INTEGER,
  P1 TEXT COLLATE NOCASE,
  P2 TEXT COLLATE NOCASE,
  P3 TEXT COLLATE NOCASE,
  P4 TEXT COLLATE NOCASE,
  P5 TEXT COLLATE NOCASE,
  P6 TEXT COLLATE NOCASE,
  P7 TEXT COLLATE NOCASE,
  P8 TEXT COLLATE NOCASE
) STRICT;
CREATE INDEX IX_Sys_Para_Name ON Sys_Para(Para_Name, SubParaName);

CREATE TABLE Sys_Log (
  ID INTEGER PRIMARY KEY AUTOINCREMENT,
  Date_Time TEXT,
  Operator_ID INTEGER,
  Op_Code INTEGER,
  Op_Object TEXT COLLATE NOCASE
) STRICT;

CREATE TABLE Sys_User_Info (
  User_ID INTEGER PRIMARY KEY AUTOINCREMENT,
  User_Name TEXT COLLATE NOCASE,
  User_Pass TEXT,
  User_Grade INTEGER DEFAULT 0,
  User_Remark TEXT COLLATE NOCASE,
  Del_YN INTEGER DEFAULT 0
) STRICT;

CREATE TABLE Sys_Dept_Pass (
  User_ID INTEGER,
  Dept_No TEXT COLLATE NOCASE,
  Dept_Type INTEGER
) STRICT;

CREATE TABLE Sys_Mach_Pass (
  User_ID INTEGER,
  Mach_ID INTEGER,
  Mach_Type INTEGER
) STRICT;

CREATE TABLE Sys_User_Pass (
  User_ID INTEGER,
  Menu_Name TEXT COLLATE NOCASE,
  Menu_Type INTEGER
) STRICT;
