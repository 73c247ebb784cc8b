UPDATE tbLancamentos SET data_fim = CONVERT(DATETIME,'2009.03.05 14:07:09',102) WHERE lancamento_id = 3 -- fim
/* bloco 'x' */ AND [nome]]x] = "a""b"