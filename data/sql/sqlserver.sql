-- The case database as the counter uses it, for a SQL Server test database.
-- Run it inside an empty database (sqlcmd -d <database> -i sqlserver.sql); batches are separated by GO.
-- The database must compare text and names without regard to letter case (the counter's statements
-- write Processo_ID and processo_id alike), e.g. CREATE DATABASE OrvTeste COLLATE Latin1_General_CI_AS.
-- Nothing is dropped or altered: the script stops at once in a database that already has the tables.
-- Tables that are joined with the time-entry view in the totals statement (tbContactos) must not
-- carry a column named data, base_id, advogado_id or unidades: those names are used unqualified there.

SET NOCOUNT ON;
SET ANSI_NULLS ON;
SET QUOTED_IDENTIFIER ON;
GO

IF N'a' <> N'A'
BEGIN
    RAISERROR(N'This database compares text with letter case; the counter needs a case-insensitive collation.', 16, 1);
    SET NOEXEC ON;
END
GO

IF OBJECT_ID(N'dbo.tbProcessos', N'U') IS NOT NULL
BEGIN
    RAISERROR(N'The database already holds the case tables; nothing was created.', 16, 1);
    SET NOEXEC ON;
END
GO

CREATE TABLE dbo.tbContactos (
    contacto_id int NOT NULL CONSTRAINT PK_tbContactos PRIMARY KEY,
    nome_union nvarchar(200) NULL,
    nif nvarchar(20) NULL,
    morada nvarchar(200) NULL,
    localidade nvarchar(100) NULL,
    telefone nvarchar(30) NULL,
    email nvarchar(100) NULL
);
GO

CREATE TABLE dbo.tbAdvogados (
    contacto_id int NOT NULL CONSTRAINT PK_tbAdvogados PRIMARY KEY,
    sigla nvarchar(10) NULL,
    cedula nvarchar(20) NULL,
    preco float NULL,
    activo int NULL
);
GO

CREATE TABLE dbo.tbUsers (
    user_id int NOT NULL CONSTRAINT PK_tbUsers PRIMARY KEY,
    descrit nvarchar(50) NULL,
    contacto_id int NULL,
    code nvarchar(20) NULL
);
GO

CREATE TABLE dbo.tbGroups (
    group_id int NOT NULL CONSTRAINT PK_tbGroups PRIMARY KEY,
    code nvarchar(20) NULL,
    descrit nvarchar(100) NULL
);
GO

CREATE TABLE dbo.tbGroups_Users_Links (
    group_id int NOT NULL,
    user_id int NOT NULL,
    CONSTRAINT PK_tbGroups_Users_Links PRIMARY KEY (group_id, user_id)
);
GO

CREATE TABLE dbo.tbSecurityPolicies (
    policy_id int NOT NULL CONSTRAINT PK_tbSecurityPolicies PRIMARY KEY,
    code nvarchar(20) NULL,
    descrit nvarchar(200) NULL,
    users_groups nvarchar(1000) NULL
);
GO

CREATE TABLE dbo.tbProcessos (
    processo_id int NOT NULL CONSTRAINT PK_tbProcessos PRIMARY KEY,
    processo_no_completo nvarchar(50) NULL,
    contacto_id int NULL,
    judicial int NULL,
    tribunal nvarchar(200) NULL,
    descrit nvarchar(200) NULL,
    data_abertura datetime NULL
);
GO

CREATE TABLE dbo.tbProcessos_Trabalhos (
    trabalho_id int NOT NULL CONSTRAINT PK_tbProcessos_Trabalhos PRIMARY KEY,
    processo_id int NULL,
    descrit nvarchar(200) NULL,
    advogado_id int NULL,
    prazos int NULL,
    data_legal datetime NULL,
    data_escritorio datetime NULL,
    data datetime NULL
);
GO

CREATE TABLE dbo.tbProcessos_Trabalhos_Tarefas (
    tarefa_id int NOT NULL CONSTRAINT PK_tbProcessos_Trabalhos_Tarefas PRIMARY KEY,
    trabalho_id int NULL,
    descrit nvarchar(200) NULL,
    data datetime NULL,
    closed int NULL CONSTRAINT DF_tbProcessos_Trabalhos_Tarefas_closed DEFAULT 0,
    escondida int NULL CONSTRAINT DF_tbProcessos_Trabalhos_Tarefas_escondida DEFAULT 0
);
GO

CREATE TABLE dbo.tbProcessos_Trabalhos_Tarefas_Lancamentos_Bases (
    base_id int NOT NULL CONSTRAINT PK_tbProcessos_Trabalhos_Tarefas_Lancamentos_Bases PRIMARY KEY,
    descrit nvarchar(100) NULL,
    counter int NULL CONSTRAINT DF_tbProcessos_Trabalhos_Tarefas_Lancamentos_Bases_counter DEFAULT 0
);
GO

CREATE TABLE dbo.tbProcessos_Trabalhos_Tarefas_Lancamentos_Precos (
    preco_id int NOT NULL CONSTRAINT PK_tbProcessos_Trabalhos_Tarefas_Lancamentos_Precos PRIMARY KEY,
    descrit nvarchar(100) NULL,
    counter int NULL CONSTRAINT DF_tbProcessos_Trabalhos_Tarefas_Lancamentos_Precos_counter DEFAULT 0
);
GO

CREATE TABLE dbo.tbProcessos_Trabalhos_Tarefas_Lancamentos (
    lancamento_id int IDENTITY(1, 1) NOT NULL CONSTRAINT PK_tbProcessos_Trabalhos_Tarefas_Lancamentos PRIMARY KEY,
    tarefa_id int NULL,
    trabalho_id int NULL,
    processo_id int NULL,
    contacto_id int NULL,
    data datetime NULL,
    data_fim datetime NULL,
    advogado_id int NULL,
    base_id int NULL,
    unidades float NULL,
    preco_id int NULL,
    preco float NULL,
    inprogress int NULL CONSTRAINT DF_tbProcessos_Trabalhos_Tarefas_Lancamentos_inprogress DEFAULT 0,
    closed int NULL CONSTRAINT DF_tbProcessos_Trabalhos_Tarefas_Lancamentos_closed DEFAULT 0,
    inprogress_time datetime NULL,
    descrit nvarchar(500) NULL
);
GO

CREATE INDEX ix_tbGroups_Users_Links_user ON dbo.tbGroups_Users_Links (user_id);
CREATE INDEX ix_tbProcessos_Trabalhos_advogado ON dbo.tbProcessos_Trabalhos (advogado_id);
CREATE INDEX ix_tbProcessos_Trabalhos_Tarefas_trabalho ON dbo.tbProcessos_Trabalhos_Tarefas (trabalho_id, closed);
GO

-- The time recorded on a task (sum of its entries) without touching the table.
CREATE INDEX ix_tbLancamentos_tarefa ON dbo.tbProcessos_Trabalhos_Tarefas_Lancamentos (tarefa_id) INCLUDE (unidades);
-- Only the running entries: the pending list finds each task's running entry here.
CREATE INDEX ix_tbLancamentos_running ON dbo.tbProcessos_Trabalhos_Tarefas_Lancamentos (tarefa_id, data)
    INCLUDE (inprogress) WHERE inprogress <> 0;
-- Running entries of a work item, counted before it is given back or taken.
CREATE INDEX ix_tbLancamentos_trabalho
    ON dbo.tbProcessos_Trabalhos_Tarefas_Lancamentos (trabalho_id, inprogress, closed);
-- A lawyer's entries between two dates (statistics and totals).
CREATE INDEX ix_tbLancamentos_advogado ON dbo.tbProcessos_Trabalhos_Tarefas_Lancamentos (advogado_id, data);
GO

CREATE VIEW dbo.vwAdvogados AS
SELECT a.contacto_id AS contacto_id,
       c.nome_union AS advogado_descrit,
       a.activo AS activo,
       a.sigla AS sigla,
       a.preco AS preco
FROM dbo.tbAdvogados a
LEFT JOIN dbo.tbContactos c ON c.contacto_id = a.contacto_id;
GO

-- One row per task. The running entry is the latest one (by start, then by number) among the
-- task's entries with inprogress set, so a task counted on two workstations still gives one row.
CREATE VIEW dbo.vwProcessos_Trabalhos_Tarefas AS
SELECT t.tarefa_id AS tarefa_id,
       t.descrit AS descrit,
       c.nome_union AS cliente,
       (SELECT SUM(s.unidades)
          FROM dbo.tbProcessos_Trabalhos_Tarefas_Lancamentos s
         WHERE s.tarefa_id = t.tarefa_id) AS total_tempo,
       w.data_legal AS data_legal,
       w.descrit AS trabalho,
       p.processo_no_completo AS processo_no_completo,
       w.data_escritorio AS data_escritorio,
       r.data AS data_inicio,
       r.inprogress AS inprogress,
       r.lancamento_id AS lancamento_id,
       ISNULL(t.escondida, 0) AS escondida,
       t.trabalho_id AS trabalho_id,
       t.data AS data,
       t.closed AS closed,
       w.advogado_id AS advogado_id,
       w.processo_id AS processo_id,
       p.contacto_id AS contacto_id
FROM dbo.tbProcessos_Trabalhos_Tarefas t
LEFT JOIN dbo.tbProcessos_Trabalhos w ON w.trabalho_id = t.trabalho_id
LEFT JOIN dbo.tbProcessos p ON p.processo_id = w.processo_id
LEFT JOIN dbo.tbContactos c ON c.contacto_id = p.contacto_id
OUTER APPLY (SELECT TOP (1) q.lancamento_id, q.data, q.inprogress
               FROM dbo.tbProcessos_Trabalhos_Tarefas_Lancamentos q
              WHERE q.tarefa_id = t.tarefa_id AND q.inprogress <> 0
              ORDER BY q.data DESC, q.lancamento_id DESC) r;
GO

CREATE VIEW dbo.vwProcessos_Trabalhos_Tarefas_Lancamentos AS
SELECT l.lancamento_id AS lancamento_id,
       l.data AS data,
       l.data_fim AS data_fim,
       l.unidades AS unidades,
       t.descrit AS tarefa,
       w.descrit AS trabalho,
       p.processo_no_completo AS processo_no_completo,
       l.contacto_id AS contacto_id,
       l.base_id AS base_id,
       l.advogado_id AS advogado_id,
       l.tarefa_id AS tarefa_id,
       l.trabalho_id AS trabalho_id,
       l.processo_id AS processo_id,
       l.preco_id AS preco_id,
       l.preco AS preco,
       l.inprogress AS inprogress,
       l.closed AS closed
FROM dbo.tbProcessos_Trabalhos_Tarefas_Lancamentos l
LEFT JOIN dbo.tbProcessos_Trabalhos_Tarefas t ON t.tarefa_id = l.tarefa_id
LEFT JOIN dbo.tbProcessos_Trabalhos w ON w.trabalho_id = l.trabalho_id
LEFT JOIN dbo.tbProcessos p ON p.processo_id = l.processo_id;
GO

SET NOEXEC OFF;
GO
