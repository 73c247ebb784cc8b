-- What an office file of layout 1 (PRAGMA user_version) has beyond the tables of embedded.sql: each task's
-- recorded time kept as its entries change, and the pending tasks' view reading it. Run after embedded.sql when a
-- file is made, and on its own, in one write transaction, to bring a file of layout 0 (whose view summed every
-- task's entries at each read) to layout 1.
-- One statement per block, each ending with a semicolon at the end of its line.

DROP VIEW IF EXISTS vwProcessos_Trabalhos_Tarefas;

-- The sum of each task's entries, as SUM gives it over the entries' index: the pending list reads one row per task
-- instead of every entry of every task. A task without entries has no row, and the view's total is null, as SUM
-- of nothing is. The key has the entries' column affinity, so whatever a writer stored there is kept, never
-- refused.
CREATE TABLE orv_task_totals (
    tarefa_id INTEGER NOT NULL PRIMARY KEY,
    unidades
) WITHOUT ROWID;

-- Every write of an entry works out again the sums of the task it left and the task it joined, from the
-- entries themselves, so a sum never drifts from what the entries hold. Delete and insert rather than a
-- REPLACE: a writer's own conflict clause (INSERT OR IGNORE…) would override the trigger's. (A REPLACE of a time
-- entry over another's number drops that one without its delete trigger; no writer of the system replaces
-- entries.)
CREATE TRIGGER orv_task_totals_insert AFTER INSERT ON tbProcessos_Trabalhos_Tarefas_Lancamentos
BEGIN
    DELETE FROM orv_task_totals WHERE tarefa_id = NEW.tarefa_id;
    INSERT INTO orv_task_totals (tarefa_id, unidades)
    SELECT tarefa_id, SUM(unidades)
      FROM tbProcessos_Trabalhos_Tarefas_Lancamentos
     WHERE tarefa_id = NEW.tarefa_id
     GROUP BY tarefa_id;
END;

CREATE TRIGGER orv_task_totals_delete AFTER DELETE ON tbProcessos_Trabalhos_Tarefas_Lancamentos
BEGIN
    DELETE FROM orv_task_totals WHERE tarefa_id = OLD.tarefa_id;
    INSERT INTO orv_task_totals (tarefa_id, unidades)
    SELECT tarefa_id, SUM(unidades)
      FROM tbProcessos_Trabalhos_Tarefas_Lancamentos
     WHERE tarefa_id = OLD.tarefa_id
     GROUP BY tarefa_id;
END;

CREATE TRIGGER orv_task_totals_update AFTER UPDATE OF tarefa_id, unidades
    ON tbProcessos_Trabalhos_Tarefas_Lancamentos
BEGIN
    DELETE FROM orv_task_totals WHERE tarefa_id = OLD.tarefa_id;
    INSERT INTO orv_task_totals (tarefa_id, unidades)
    SELECT tarefa_id, SUM(unidades)
      FROM tbProcessos_Trabalhos_Tarefas_Lancamentos
     WHERE tarefa_id = OLD.tarefa_id
     GROUP BY tarefa_id;
    DELETE FROM orv_task_totals WHERE tarefa_id = NEW.tarefa_id;
    INSERT INTO orv_task_totals (tarefa_id, unidades)
    SELECT tarefa_id, SUM(unidades)
      FROM tbProcessos_Trabalhos_Tarefas_Lancamentos
     WHERE tarefa_id = NEW.tarefa_id
     GROUP BY tarefa_id;
END;

INSERT INTO orv_task_totals (tarefa_id, unidades)
SELECT tarefa_id, SUM(unidades)
  FROM tbProcessos_Trabalhos_Tarefas_Lancamentos
 WHERE tarefa_id IS NOT NULL
 GROUP BY tarefa_id;

-- One row per task. The running entry is the latest one (by start, then by number) among the
-- task's entries with inprogress set, so a task counted on two workstations still gives one row.
CREATE VIEW vwProcessos_Trabalhos_Tarefas AS
SELECT t.tarefa_id AS tarefa_id,
       t.descrit AS descrit,
       c.nome_union AS cliente,
       k.unidades AS total_tempo,
       w.data_legal AS data_legal,
       w.descrit AS trabalho,
       p.processo_no_completo AS processo_no_completo,
       w.data_escritorio AS data_escritorio,
       r.data AS data_inicio,
       r.inprogress AS inprogress,
       r.lancamento_id AS lancamento_id,
       COALESCE(t.escondida, 0) AS escondida,
       t.trabalho_id AS trabalho_id,
       t.data AS data,
       t.closed AS closed,
       w.advogado_id AS advogado_id,
       w.processo_id AS processo_id,
       p.contacto_id AS contacto_id
FROM tbProcessos_Trabalhos_Tarefas t
LEFT JOIN tbProcessos_Trabalhos w ON w.trabalho_id = t.trabalho_id
LEFT JOIN tbProcessos p ON p.processo_id = w.processo_id
LEFT JOIN tbContactos c ON c.contacto_id = p.contacto_id
LEFT JOIN orv_task_totals k ON k.tarefa_id = t.tarefa_id
LEFT JOIN tbProcessos_Trabalhos_Tarefas_Lancamentos r ON r.lancamento_id =
      (SELECT q.lancamento_id
         FROM tbProcessos_Trabalhos_Tarefas_Lancamentos q
        WHERE q.tarefa_id = t.tarefa_id AND q.inprogress <> 0
        ORDER BY q.data DESC, q.lancamento_id DESC
        LIMIT 1);

PRAGMA user_version = 1;
