-- Panelpick database, SQLite desktop form. Created by panelpick-initdb; the program never creates tables.
-- Identifiers are never quoted: they are matched without regard to case.

CREATE TABLE expert (
    expertID VARCHAR(20),
    expertName VARCHAR(50),
    PY VARCHAR(50),
    sex VARCHAR(4),
    birthday DATETIME,
    IDCard VARCHAR(30),
    xl VARCHAR(20),
    Employer VARCHAR(100),
    school VARCHAR(100),
    TEL VARCHAR(50),
    TEL2 VARCHAR(50),
    Mobile VARCHAR(50),
    title VARCHAR(50),
    duty VARCHAR(50),
    Email VARCHAR(100),
    address VARCHAR(200),
    PIC BLOB,
    PicName VARCHAR(255),
    enabled INTEGER DEFAULT 1,
    year VARCHAR(20),
    certified1 VARCHAR(100),
    certified2 VARCHAR(100),
    certified3 VARCHAR(100),
    certified1NO VARCHAR(100),
    certified2NO VARCHAR(100),
    certified3NO VARCHAR(100),
    specialty VARCHAR(100),
    specialtyClass VARCHAR(20),
    City VARCHAR(50),
    JL TEXT,
    ischeck INTEGER DEFAULT 0,
    specialtyType INTEGER,
    specialtyType2 INTEGER,
    specialtyType3 INTEGER,
    specialtyType4 INTEGER,
    specialtyType5 INTEGER,
    specialtyType6 INTEGER,
    PRIMARY KEY (expertID)
);
CREATE TABLE expertSpecialtyType (
    eid VARCHAR(20),
    tid INTEGER
);
CREATE TABLE SpecialityClass (
    pr_ID INTEGER,
    Pr_parent INTEGER,
    pr_name VARCHAR(40),
    pr_code VARCHAR(50),
    pr_info VARCHAR(255),
    PRIMARY KEY (pr_ID)
);
CREATE TABLE supervisoryType (
    pr_ID INTEGER,
    Pr_parent INTEGER,
    pr_name VARCHAR(40),
    pr_code VARCHAR(50),
    pr_info VARCHAR(255),
    PRIMARY KEY (pr_ID)
);
CREATE TABLE AppraiseSpeciality (
    typeNo VARCHAR(20),
    typeCode VARCHAR(50),
    typeName VARCHAR(100),
    SuperTypeName VARCHAR(100)
);
CREATE TABLE specialty (
    specialtyName VARCHAR(100),
    specialtyNameNO VARCHAR(20)
);
CREATE TABLE specialtClass (
    ClassNo VARCHAR(20),
    className VARCHAR(100)
);
CREATE TABLE title (
    titleNo VARCHAR(20),
    title VARCHAR(50)
);
CREATE TABLE City (
    city VARCHAR(50)
);
CREATE TABLE Unit (
    unitCode VARCHAR(20),
    UnitName VARCHAR(100),
    UnitTel VARCHAR(50)
);
CREATE TABLE Str (
    ID VARCHAR(20),
    Str VARCHAR(255)
);
CREATE TABLE zb (
    str VARCHAR(100)
);
CREATE TABLE tz (
    str VARCHAR(100)
);
CREATE TABLE DL (
    DLID VARCHAR(50),
    DLName VARCHAR(100),
    DLTel VARCHAR(50),
    DLlxr VARCHAR(50),
    address VARCHAR(200),
    email VARCHAR(100),
    fax VARCHAR(50),
    mobile VARCHAR(50),
    zz VARCHAR(100),
    dltype VARCHAR(50),
    dltype2 VARCHAR(50),
    dltype3 VARCHAR(50)
);
CREATE TABLE project (
    BillID VARCHAR(30),
    ProJectName VARCHAR(200),
    PY VARCHAR(100),
    ProjcetUnit VARCHAR(200),
    EditDate DATETIME,
    PBBeginDate DATETIME,
    PBENDDate DATETIME,
    KBDD VARCHAR(200),
    XMSSD VARCHAR(100),
    ProBM VARCHAR(100),
    PROBMNO VARCHAR(100),
    ZBHZBM VARCHAR(100),
    ZBHZNO VARCHAR(100),
    TZXZ VARCHAR(100),
    ZBFS VARCHAR(100),
    zdpm VARCHAR(100),
    JBRName VARCHAR(50),
    jbrtel VARCHAR(50),
    JBRID VARCHAR(30),
    DLName VARCHAR(100),
    city VARCHAR(50),
    gap_day INTEGER,
    num3 INTEGER,
    TypeName INTEGER,
    specialty VARCHAR(100),
    num INTEGER,
    num2 INTEGER,
    IsSave INTEGER,
    p1 NUMERIC(19,4),
    p2 NUMERIC(19,4),
    p3 NUMERIC(19,4),
    p2sum NUMERIC(19,4),
    p3sum NUMERIC(19,4),
    MEMO TEXT,
    PRIMARY KEY (BillID)
);
CREATE TABLE ProjectSpeciality (
    id INTEGER PRIMARY KEY AUTOINCREMENT,
    billID VARCHAR(30),
    specialtyClass VARCHAR(20),
    typeName INTEGER,
    typeNameText VARCHAR(255),
    specialty VARCHAR(100),
    num INTEGER,
    AgreeNum INTEGER,
    finishNum INTEGER
);
CREATE TABLE projectHbdw (
    BillID VARCHAR(30),
    bidderName VARCHAR(100),
    bidderId VARCHAR(50),
    firstBusiness VARCHAR(50),
    firstTechnology VARCHAR(50),
    firstPrice VARCHAR(50),
    winBid VARCHAR(50),
    firstPass VARCHAR(50),
    udf001 VARCHAR(100),
    udf002 VARCHAR(100),
    udf003 VARCHAR(100)
);
CREATE TABLE ProjectHbExpert (
    BillID VARCHAR(30),
    expertID VARCHAR(20),
    expertName VARCHAR(50),
    udf001 VARCHAR(100),
    udf002 VARCHAR(100),
    udf003 VARCHAR(100)
);
CREATE TABLE ProjectList (
    id INTEGER PRIMARY KEY AUTOINCREMENT,
    billid VARCHAR(30),
    expertID VARCHAR(20),
    expertName VARCHAR(50),
    TEL VARCHAR(50),
    Mobile VARCHAR(50),
    Employer VARCHAR(100),
    specialtyClass VARCHAR(20),
    state VARCHAR(20),
    ischeck INTEGER,
    pf INTEGER,
    dialcount INTEGER,
    sms VARCHAR(50),
    ICNO VARCHAR(255),
    reType VARCHAR(20),
    reClass VARCHAR(100)
);
CREATE TABLE UserName (
    UserName VARCHAR(50),
    PassWord VARCHAR(160),
    ChkUserM INTEGER,
    ChkProjectTouch INTEGER,
    chkProjectM INTEGER,
    chkExcept INTEGER,
    chkBase INTEGER,
    chkShow INTEGER,
    ICNO VARCHAR(50)
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
    id INTEGER PRIMARY KEY AUTOINCREMENT,
    drawTime DATETIME,
    userName VARCHAR(50),
    billid VARCHAR(30),
    drawKind VARCHAR(20),
    outcome VARCHAR(20),
    demandRow VARCHAR(255),
    demandID INTEGER,
    poolID INTEGER,
    poolSnapshotHash VARCHAR(64),
    poolRemoved TEXT,
    poolSize INTEGER,
    poolFingerprint VARCHAR(64),
    randomIndex INTEGER,
    expertID VARCHAR(20),
    note VARCHAR(255),
    prevHash VARCHAR(64),
    rowHash VARCHAR(64)
);
-- A candidate pool as its query gave it, before the first event drawn from
-- it: the expertIDs in pool order and the designated ones (one per line),
-- and the rule inputs as "name=value" lines. snapshotHash covers them all
-- and is repeated in every DrawLog row drawn from the pool.
CREATE TABLE DrawPool (
    id INTEGER PRIMARY KEY AUTOINCREMENT,
    billid VARCHAR(30),
    drawKind VARCHAR(20),
    demandID INTEGER,
    rules TEXT,
    candidates TEXT,
    designated TEXT,
    candidateCount INTEGER,
    snapshotHash VARCHAR(64)
);
-- The chain's last row and hash, moved by a trigger at every insert into
-- DrawLog. Its one row is updated first by every writer, which serialises
-- the writers of the chain.
CREATE TABLE DrawLogHead (
    id INTEGER PRIMARY KEY,
    lastId INTEGER,
    headHash VARCHAR(64)
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
-- is never removed.
CREATE TRIGGER DrawLog_no_update BEFORE UPDATE ON DrawLog BEGIN SELECT RAISE(ABORT, 'DrawLog is append-only'); END;
CREATE TRIGGER DrawLog_no_delete BEFORE DELETE ON DrawLog BEGIN SELECT RAISE(ABORT, 'DrawLog is append-only'); END;
CREATE TRIGGER DrawPool_no_update BEFORE UPDATE ON DrawPool BEGIN SELECT RAISE(ABORT, 'DrawPool is append-only'); END;
CREATE TRIGGER DrawPool_no_delete BEFORE DELETE ON DrawPool BEGIN SELECT RAISE(ABORT, 'DrawPool is append-only'); END;
CREATE TRIGGER DrawLog_moves_head AFTER INSERT ON DrawLog BEGIN UPDATE DrawLogHead SET lastId = NEW.id, headHash = NEW.rowHash WHERE id = 1; END;
CREATE TRIGGER DrawLogHead_no_delete BEFORE DELETE ON DrawLogHead BEGIN SELECT RAISE(ABORT, 'DrawLogHead is kept'); END;

-- Every evaluation specialty with its full path text: the names from the
-- top-level ancestor down to the node, joined by "/" ("工程/土建/结构"); a
-- top-level node's path is its own name. A node whose parent is empty, 0 or
-- missing counts as top-level; the depth limit stops a cycle in bad data.
CREATE VIEW ClassRoot2 AS
WITH RECURSIVE tree (pr_id, pr_parent, pr_name, pr_full, depth) AS (
    SELECT pr_id, pr_parent, pr_name, pr_name, 0
    FROM SpecialityClass s
    WHERE pr_parent IS NULL OR pr_parent = 0
       OR NOT EXISTS (SELECT 1 FROM SpecialityClass p WHERE p.pr_id = s.pr_parent)
    UNION ALL
    SELECT c.pr_id, c.pr_parent, c.pr_name, t.pr_full || '/' || c.pr_name, t.depth + 1
    FROM SpecialityClass c
    INNER JOIN tree t ON c.pr_parent = t.pr_id
    WHERE t.depth < 32
)
SELECT pr_id, pr_parent, pr_name, pr_full FROM tree;
