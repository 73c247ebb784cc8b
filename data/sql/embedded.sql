-- The case database as the counter uses it, in the embedded engine's dialect.
-- One statement per block, each ending with a semicolon at the end of its line.
-- Dates are DATETIME columns holding "yyyy-MM-dd HH:mm:ss" text, flags and identifiers INTEGER,
-- amounts REAL. Text columns use the engine's Latin1_General_CI_AS collation, so that they compare
-- and sort as on the office's server. No index is built on a text column: rows are bulk loaded
-- through connections that do not know that collation, and the tables looked up by text (users,
-- security policies) are small.
-- Tables that are joined with the time-entry view in the totals statement (tbContactos) must not
-- carry a column named data, base_id, advogado_id or unidades: those names are used unqualified there.

CREATE TABLE tbContactos (
    contacto_id INTEGER PRIMARY KEY,
    nome_union TEXT COLLATE Latin1_General_CI_AS,
    nif TEXT COLLATE Latin1_General_CI_AS,
    morada TEXT COLLATE Latin1_General_CI_AS,
    localidade TEXT COLLATE Latin1_General_CI_AS,
    telefone TEXT COLLATE Latin1_General_CI_AS,
    email TEXT COLLATE Latin1_General_CI_AS
);

CREATE TABLE tbAdvogados (
    contacto_id INTEGER PRIMARY KEY,
    sigla TEXT COLLATE Latin1_General_CI_AS,
    cedula TEXT COLLATE Latin1_General_CI_AS,
    preco REAL,
    activo INTEGER
);

CREATE TABLE tbUsers (
    user_id INTEGER PRIMARY KEY,
    descrit TEXT COLLATE Latin1_General_CI_AS,
    contacto_id INTEGER,
    code TEXT COLLATE Latin1_General_CI_AS
);

CREATE TABLE tbGroups (
    group_id INTEGER PRIMARY KEY,
    code TEXT COLLATE Latin1_General_CI_AS,
    descrit TEXT COLLATE Latin1_General_CI_AS
);

CREATE TABLE tbGroups_Users_Links (
    group_id INTEGER NOT NULL,
    user_id INTEGER NOT NULL,
    PRIMARY KEY (group_id, user_id)
);

CREATE TABLE tbSecurityPolicies (
    policy_id INTEGER PRIMARY KEY,
    code TEXT COLLATE Latin1_General_CI_AS,
    descrit TEXT COLLATE Latin1_General_CI_AS,
    users_groups TEXT COLLATE Latin1_General_CI_AS
);

CREATE TABLE tbProcessos (
    processo_id INTEGER PRIMARY KEY,
    processo_no_completo TEXT COLLATE Latin1_General_CI_AS,
    contacto_id INTEGER,
    judicial INTEGER,
    tribunal TEXT COLLATE Latin1_General_CI_AS,
    descrit TEXT COLLATE Latin1_General_CI_AS,
    data_abertura DATETIME
);

CREATE TABLE tbProcessos_Trabalhos (
    trabalho_id INTEGER PRIMARY KEY,
    processo_id INTEGER,
    descrit TEXT COLLATE Latin1_General_CI_AS,
    advogado_id INTEGER,
    prazos INTEGER,
    data_legal DATETIME,
    data_escritorio DATETIME,
    data DATETIME
);

CREATE TABLE tbProcessos_Trabalhos_Tarefas (
    tarefa_id INTEGER PRIMARY KEY,
    trabalho_id INTEGER,
    descrit TEXT COLLATE Latin1_General_CI_AS,
    data DATETIME,
    closed INTEGER DEFAULT 0,
    escondida INTEGER DEFAULT 0
);

CREATE TABLE tbProcessos_Trabalhos_Tarefas_Lancamentos_Bases (
    base_id INTEGER PRIMARY KEY,
    descrit TEXT COLLATE Latin1_General_CI_AS,
    counter INTEGER DEFAULT 0
);

CREATE TABLE tbProcessos_Trabalhos_Tarefas_Lancamentos_Precos (
    preco_id INTEGER PRIMARY KEY,
    descrit TEXT COLLATE Latin1_General_CI_AS,
    counter INTEGER DEFAULT 0
);

CREATE TABLE tbProcessos_Trabalhos_Tarefas_Lancamentos (
    lancamento_id INTEGER PRIMARY KEY AUTOINCREMENT,
    tarefa_id INTEGER,
    trabalho_id INTEGER,
    processo_id INTEGER,
    contacto_id INTEGER,
    data DATETIME,
    data_fim DATETIME,
    advogado_id INTEGER,
    base_id INTEGER,
    unidades REAL,
    preco_id INTEGER,
    preco REAL,
    inprogress INTEGER DEFAULT 0,
    closed INTEGER DEFAULT 0,
    inprogress_time DATETIME,
    descrit TEXT COLLATE Latin1_General_CI_AS
);

CREATE INDEX ix_tbGroups_Users_Links_user ON tbGroups_Users_Links (user_id);

CREATE INDEX ix_tbProcessos_Trabalhos_advogado ON tbProcessos_Trabalhos (advogado_id);

CREATE INDEX ix_tbProcessos_Trabalhos_Tarefas_trabalho ON tbProcessos_Trabalhos_Tarefas (trabalho_id, closed);

-- The time recorded on a task (sum of its entries) without touching the table.
CREATE INDEX ix_tbLancamentos_tarefa ON tbProcessos_Trabalhos_Tarefas_Lancamentos (tarefa_id, unidades);

-- Only the running entries: the pending list finds each task's running entry here.
CREATE INDEX ix_tbLancamentos_running ON tbProcessos_Trabalhos_Tarefas_Lancamentos (tarefa_id, data)
    WHERE inprogress <> 0;

-- Running entries of a work item, counted before it is given back or taken.
CREATE INDEX ix_tbLancamentos_trabalho
    ON tbProcessos_Trabalhos_Tarefas_Lancamentos (trabalho_id, inprogress, closed);

-- A lawyer's entries between two dates (statistics and totals).
CREATE INDEX ix_tbLancamentos_advogado ON tbProcessos_Trabalhos_Tarefas_Lancamentos (advogado_id, data);

CREATE VIEW vwAdvogados AS
SELECT a.contacto_id AS contacto_id,
       c.nome_union AS advogado_descrit,
       a.activo AS activo,
       a.sigla AS sigla,
       a.preco AS preco
FROM tbAdvogados a
LEFT JOIN tbContactos c ON c.contacto_id = a.contacto_id;

CREATE VIEW vwProcessos_Trabalhos_Tarefas_Lancamentos AS
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
FROM tbProcessos_Trabalhos_Tarefas_Lancamentos l
LEFT JOIN tbProcessos_Trabalhos_Tarefas t ON t.tarefa_id = l.tarefa_id
LEFT JOIN tbProcessos_Trabalhos w ON w.trabalho_id = l.trabalho_id
LEFT JOIN tbProcessos p ON p.processo_id = l.processo_id;
