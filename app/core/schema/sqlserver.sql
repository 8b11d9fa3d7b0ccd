-- Panelpick database, SQL Server form. Created by panelpick-initdb --server
-- over QODBC (FreeTDS); the program never creates tables. Identifiers are
-- never quoted: they are matched without regard to case. Texts are NVARCHAR,
-- so that Chinese text needs no code page of the server.

CREATE TABLE expert (
    expertID NVARCHAR(20) NOT NULL,
    expertName NVARCHAR(50),
    PY NVARCHAR(50),
    sex NVARCHAR(4),
    birthday DATETIME2(3),
    IDCard NVARCHAR(30),
    xl NVARCHAR(20),
    Employer NVARCHAR(100),
    school NVARCHAR(100),
    TEL NVARCHAR(50),
    TEL2 NVARCHAR(50),
    Mobile NVARCHAR(50),
    title NVARCHAR(50),
    duty NVARCHAR(50),
    Email NVARCHAR(100),
    address NVARCHAR(200),
    PIC VARBINARY(MAX),
    PicName NVARCHAR(255),
    enabled BIT DEFAULT 1,
    year NVARCHAR(20),
    certified1 NVARCHAR(100),
    certified2 NVARCHAR(100),
    certified3 NVARCHAR(100),
    certified1NO NVARCHAR(100),
    certified2NO NVARCHAR(100),
    certified3NO NVARCHAR(100),
    specialty NVARCHAR(100),
    specialtyClass NVARCHAR(20),
    City NVARCHAR(50),
    JL NVARCHAR(MAX),
    ischeck INT DEFAULT 0,
    specialtyType INT,
    specialtyType2 INT,
    specialtyType3 INT,
    specialtyType4 INT,
    specialtyType5 INT,
    specialtyType6 INT,
    PRIMARY KEY (expertID)
);
CREATE TABLE expertSpecialtyType (
    eid NVARCHAR(20),
    tid INT
);
CREATE TABLE SpecialityClass (
    pr_ID INT NOT NULL,
    Pr_parent INT,
    pr_name NVARCHAR(40),
    pr_code NVARCHAR(50),
    pr_info NVARCHAR(255),
    PRIMARY KEY (pr_ID)
);
CREATE TABLE supervisoryType (
    pr_ID INT NOT NULL,
    Pr_parent INT,
    pr_name NVARCHAR(40),
    pr_code NVARCHAR(50),
    pr_info NVARCHAR(255),
    PRIMARY KEY (pr_ID)
);
CREATE TABLE AppraiseSpeciality (
    typeNo NVARCHAR(20),
    typeCode NVARCHAR(50),
    typeName NVARCHAR(100),
    SuperTypeName NVARCHAR(100)
);
CREATE TABLE specialty (
    specialtyName NVARCHAR(100),
    specialtyNameNO NVARCHAR(20)
);
CREATE TABLE specialtClass (
    ClassNo NVARCHAR(20),
    className NVARCHAR(100)
);
CREATE TABLE title (
    titleNo NVARCHAR(20),
    title NVARCHAR(50)
);
CREATE TABLE City (
    city NVARCHAR(50)
);
CREATE TABLE Unit (
    unitCode NVARCHAR(20),
    UnitName NVARCHAR(100),
    UnitTel NVARCHAR(50)
);
CREATE TABLE Str (
    ID NVARCHAR(20),
    Str NVARCHAR(255)
);
CREATE TABLE zb (
    str NVARCHAR(100)
);
CREATE TABLE tz (
    str NVARCHAR(100)
);
CREATE TABLE DL (
    DLID NVARCHAR(50),
    DLName NVARCHAR(100),
    DLTel NVARCHAR(50),
    DLlxr NVARCHAR(50),
    address NVARCHAR(200),
    email NVARCHAR(100),
    fax NVARCHAR(50),
    mobile NVARCHAR(50),
    zz NVARCHAR(100),
    dltype NVARCHAR(50),
    dltype2 NVARCHAR(50),
    dltype3 NVARCHAR(50)
);
CREATE TABLE project (
    BillID NVARCHAR(30) NOT NULL,
    ProJectName NVARCHAR(200),
    PY NVARCHAR(100),
    ProjcetUnit NVARCHAR(200),
    EditDate DATETIME2(3),
    PBBeginDate DATETIME2(3),
    PBENDDate DATETIME2(3),
    KBDD NVARCHAR(200),
    XMSSD NVARCHAR(100),
    ProBM NVARCHAR(100),
    PROBMNO NVARCHAR(100),
    ZBHZBM NVARCHAR(100),
    ZBHZNO NVARCHAR(100),
    TZXZ NVARCHAR(100),
    ZBFS NVARCHAR(100),
    zdpm NVARCHAR(100),
    JBRName NVARCHAR(50),
    jbrtel NVARCHAR(50),
    JBRID NVARCHAR(30),
    DLName NVARCHAR(100),
    city NVARCHAR(50),
    gap_day INT,
    num3 INT,
    TypeName INT,
    specialty NVARCHAR(100),
    num INT,
    num2 INT,
    IsSave INT,
    p1 NUMERIC(19,4),
    p2 NUMERIC(19,4),
    p3 NUMERIC(19,4),
    p2sum NUMERIC(19,4),
    p3sum NUMERIC(19,4),
    MEMO NVARCHAR(MAX),
    PRIMARY KEY (BillID)
);
CREATE TABLE ProjectSpeciality (
    id INT IDENTITY(1,1) PRIMARY KEY,
    billID NVARCHAR(30),
    specialtyClass NVARCHAR(20),
    typeName INT,
    typeNameText NVARCHAR(255),
    specialty NVARCHAR(100),
    num INT,
    AgreeNum INT,
    finishNum INT
);
CREATE TABLE projectHbdw (
    BillID NVARCHAR(30),
    bidderName NVARCHAR(100),
    bidderId NVARCHAR(50),
    firstBusiness NVARCHAR(50),
    firstTechnology NVARCHAR(50),
    firstPrice NVARCHAR(50),
    winBid NVARCHAR(50),
    firstPass NVARCHAR(50),
    udf001 NVARCHAR(100),
    udf002 NVARCHAR(100),
    udf003 NVARCHAR(100)
);
CREATE TABLE ProjectHbExpert (
    BillID NVARCHAR(30),
    expertID NVARCHAR(20),
    expertName NVARCHAR(50),
    udf001 NVARCHAR(100),
    udf002 NVARCHAR(100),
    udf003 NVARCHAR(100)
);
CREATE TABLE ProjectList (
    id INT IDENTITY(1,1) PRIMARY KEY,
    billid NVARCHAR(30),
    expertID NVARCHAR(20),
    expertName NVARCHAR(50),
    TEL NVARCHAR(50),
    Mobile NVARCHAR(50),
    Employer NVARCHAR(100),
    specialtyClass NVARCHAR(20),
    state NVARCHAR(20),
    ischeck INT,
    pf INT,
    dialcount INT,
    sms NVARCHAR(50),
    ICNO NVARCHAR(255),
    reType NVARCHAR(20),
    reClass NVARCHAR(100)
);
CREATE TABLE UserName (
    UserName NVARCHAR(50),
    PassWord NVARCHAR(160),
    ChkUserM BIT,
    ChkProjectTouch BIT,
    chkProjectM BIT,
    chkExcept BIT,
    chkBase BIT,
    chkShow BIT,
    ICNO NVARCHAR(50)
);
-- The audit trail of the draws. Every row of DrawLog is one event of a draw
-- (drawKind initial, replacement, manual, emergency, redraw; outcome picked,
-- cap-rejected, none, duplicate-mobile, cleared). The rows form one hash
-- chain from the genesis value of 64 zeros: prevHash is the rowHash of the
-- row before, rowHash the SHA-256 of the row's canonical text (see
-- app/core/draw/CanonicalRecord.h). A row drawn from a pool names its stored
-- snapshot (poolID, poolSnapshotHash) and the candidates removed from it
-- since (poolRemoved, one expertID per line); poolSize and poolFingerprint
-- (SHA-256 of the remaining expertIDs in pool order, each followed by a line
-- feed) describe that pool, and randomIndex is the position the random
-- source chose in it, empty when no random number decided.
CREATE TABLE DrawLog (
    id INT IDENTITY(1,1) PRIMARY KEY,
    drawTime DATETIME2(3),
    userName NVARCHAR(50),
    billid NVARCHAR(30),
    drawKind NVARCHAR(20),
    outcome NVARCHAR(20),
    demandRow NVARCHAR(255),
    demandID INT,
    poolID INT,
    poolSnapshotHash NVARCHAR(64),
    poolRemoved NVARCHAR(MAX),
    poolSize INT,
    poolFingerprint NVARCHAR(64),
    randomIndex INT,
    expertID NVARCHAR(20),
    note NVARCHAR(255),
    prevHash NVARCHAR(64),
    rowHash NVARCHAR(64)
);
-- A candidate pool as its query gave it, before the first event drawn from
-- it: the expertIDs in pool order and the designated ones (one per line),
-- and the rule inputs as "name=value" lines. snapshotHash covers them all
-- and is repeated in every DrawLog row drawn from the pool.
CREATE TABLE DrawPool (
    id INT IDENTITY(1,1) PRIMARY KEY,
    billid NVARCHAR(30),
    drawKind NVARCHAR(20),
    demandID INT,
    rules NVARCHAR(MAX),
    candidates NVARCHAR(MAX),
    designated NVARCHAR(MAX),
    candidateCount INT,
    snapshotHash NVARCHAR(64)
);
-- The chain's last row and hash, moved by a trigger at every insert into
-- DrawLog. Its one row is updated first by every writer, which serialises
-- the writers of the chain.
CREATE TABLE DrawLogHead (
    id INT NOT NULL PRIMARY KEY,
    lastId INT,
    headHash NVARCHAR(64)
);

CREATE INDEX ix_expert_specialtyClass ON expert (specialtyClass);
CREATE INDEX ix_expert_specialty ON expert (specialty);
CREATE INDEX ix_expertSpecialtyType_tid ON expertSpecialtyType (tid);
CREATE INDEX ix_expertSpecialtyType_eid ON expertSpecialtyType (eid);
CREATE INDEX ix_ProjectList_billid ON ProjectList (billid);
CREATE INDEX ix_ProjectList_expertID ON ProjectList (expertID);
CREATE INDEX ix_project_PBBeginDate ON project (PBBeginDate);
CREATE INDEX ix_ProjectSpeciality_billID ON ProjectSpeciality (billID);
CREATE INDEX ix_projectHbdw_BillID ON projectHbdw (BillID);
CREATE INDEX ix_ProjectHbExpert_BillID ON ProjectHbExpert (BillID);
CREATE INDEX ix_DrawLog_billid ON DrawLog (billid);
CREATE INDEX ix_DrawPool_billid ON DrawPool (billid);
INSERT INTO DrawLogHead (id, lastId, headHash) VALUES (1, 0, '0000000000000000000000000000000000000000000000000000000000000000');

-- The audit trail of the draws is only ever appended to, and its head row
-- is never removed. TRUNCATE fires no trigger on this server; a table that
-- a foreign key refers to cannot be truncated, which the guard table below
-- makes use of.
CREATE TRIGGER DrawLog_append_only ON DrawLog INSTEAD OF UPDATE, DELETE AS BEGIN RAISERROR('DrawLog is append-only', 16, 1); END;
CREATE TRIGGER DrawPool_append_only ON DrawPool INSTEAD OF UPDATE, DELETE AS BEGIN RAISERROR('DrawPool is append-only', 16, 1); END;
CREATE TRIGGER DrawLog_moves_head ON DrawLog AFTER INSERT AS BEGIN UPDATE DrawLogHead SET lastId = i.id, headHash = i.rowHash FROM inserted i WHERE DrawLogHead.id = 1; END;
CREATE TRIGGER DrawLogHead_kept ON DrawLogHead INSTEAD OF DELETE AS BEGIN RAISERROR('DrawLogHead is kept', 16, 1); END;
CREATE TABLE DrawAuditGuard (
    drawLogId INT REFERENCES DrawLog (id),
    drawPoolId INT REFERENCES DrawPool (id),
    headId INT REFERENCES DrawLogHead (id)
);

-- Every evaluation specialty with its full path text: the names from the
-- top-level ancestor down to the node, joined by "/" ("工程/土建/结构"); a
-- top-level node's path is its own name. A node whose parent is empty, 0 or
-- missing counts as top-level; the depth limit stops a cycle in bad data.
CREATE VIEW ClassRoot2 AS
WITH tree (pr_id, pr_parent, pr_name, pr_full, depth) AS (
    SELECT pr_id, pr_parent, pr_name, CAST(pr_name AS NVARCHAR(MAX)), 0
    FROM SpecialityClass s
    WHERE pr_parent IS NULL OR pr_parent = 0
       OR NOT EXISTS (SELECT 1 FROM SpecialityClass p WHERE p.pr_id = s.pr_parent)
    UNION ALL
    SELECT c.pr_id, c.pr_parent, c.pr_name, CAST(t.pr_full + N'/' + c.pr_name AS NVARCHAR(MAX)), t.depth + 1
    FROM SpecialityClass c
    INNER JOIN tree t ON c.pr_parent = t.pr_id
    WHERE t.depth < 32
)
SELECT pr_id, pr_parent, pr_name, pr_full FROM tree;
