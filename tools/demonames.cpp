#include "tools/demonames.h"

namespace tools::demonames {

const QStringList& firstNames()
{
    static const QStringList names{
        QStringLiteral("João"),      QStringLiteral("Maria da Conceição"),
        QStringLiteral("José"),      QStringLiteral("António"),
        QStringLiteral("Ana"),       QStringLiteral("Francisco"),
        QStringLiteral("Manuel"),    QStringLiteral("Inês"),
        QStringLiteral("Luísa"),     QStringLiteral("Gonçalo"),
        QStringLiteral("Sebastião"), QStringLiteral("Fernanda"),
        QStringLiteral("Joaquim"),   QStringLiteral("Teresa"),
        QStringLiteral("Rui"),       QStringLiteral("Helena"),
        QStringLiteral("Vítor"),     QStringLiteral("Cláudia"),
        QStringLiteral("Sérgio"),    QStringLiteral("Beatriz"),
        QStringLiteral("Tomás"),     QStringLiteral("Margarida"),
        QStringLiteral("Simão"),     QStringLiteral("Maria da Graça"),
    };
    return names;
}

const QStringList& surnames()
{
    static const QStringList names{
        QStringLiteral("Silva"),     QStringLiteral("Santos"),    QStringLiteral("Ferreira"),
        QStringLiteral("Pereira"),   QStringLiteral("Oliveira"),  QStringLiteral("Costa"),
        QStringLiteral("Rodrigues"), QStringLiteral("Martins"),   QStringLiteral("Sousa"),
        QStringLiteral("Fernandes"), QStringLiteral("Gonçalves"), QStringLiteral("Gomes"),
        QStringLiteral("Lopes"),     QStringLiteral("Marques"),   QStringLiteral("Alves"),
        QStringLiteral("Almeida"),   QStringLiteral("Ribeiro"),   QStringLiteral("Pinto"),
        QStringLiteral("Teixeira"),  QStringLiteral("Moreira"),   QStringLiteral("Correia"),
        QStringLiteral("Mendes"),    QStringLiteral("Nunes"),     QStringLiteral("Soares"),
        QStringLiteral("Vieira"),    QStringLiteral("Monteiro"),  QStringLiteral("Cardoso"),
        QStringLiteral("Rocha"),     QStringLiteral("Neves"),     QStringLiteral("Coelho"),
        QStringLiteral("Simões"),    QStringLiteral("Magalhães"), QStringLiteral("Brandão"),
        QStringLiteral("Assunção"),  QStringLiteral("Mourão"),    QStringLiteral("Conceição"),
    };
    return names;
}

const QStringList& companies()
{
    static const QStringList names{
        QStringLiteral("Construções Ribeiro & Filhos, Lda."),
        QStringLiteral("Sociedade Agrícola Quinta do Vale, S.A."),
        QStringLiteral("Transportes Gonçalves & Irmão, Lda."),
        QStringLiteral("Padaria Flor da Aldeia, Lda."),
        QStringLiteral("Imobiliária Atlântico, S.A."),
        QStringLiteral("Têxteis do Ave, S.A."),
        QStringLiteral("Farmácia Conceição, Lda."),
        QStringLiteral("Condomínio do Edifício Jardim"),
        QStringLiteral("Associação Cultural de São João"),
        QStringLiteral("Metalúrgica da Beira Alta, Lda."),
        QStringLiteral("Café Central da Praça, Unipessoal Lda."),
        QStringLiteral("Clínica Dentária Sorriso, Lda."),
        QStringLiteral("Cooperativa Agrícola do Ribatejo, C.R.L."),
        QStringLiteral("Vinhos do Douro Superior, S.A."),
    };
    return names;
}

const QStringList& towns()
{
    static const QStringList names{
        QStringLiteral("Lisboa"), QStringLiteral("Porto"),   QStringLiteral("Coimbra"), QStringLiteral("Braga"),
        QStringLiteral("Faro"),   QStringLiteral("Sintra"),  QStringLiteral("Oeiras"),  QStringLiteral("Cascais"),
        QStringLiteral("Aveiro"), QStringLiteral("Setúbal"), QStringLiteral("Évora"),   QStringLiteral("Leiria"),
    };
    return names;
}

const QList<Court>& courts()
{
    static const QList<Court> list{
        {QStringLiteral("TBLSB"), QStringLiteral("Tribunal Judicial de Lisboa"), QStringLiteral("Lisboa")},
        {QStringLiteral("TVLSB"), QStringLiteral("Varas Cíveis de Lisboa"), QStringLiteral("Lisboa")},
        {QStringLiteral("TTLSB"), QStringLiteral("Tribunal do Trabalho de Lisboa"), QStringLiteral("Lisboa")},
        {QStringLiteral("TYLSB"), QStringLiteral("Tribunal de Comércio de Lisboa"), QStringLiteral("Lisboa")},
        {QStringLiteral("TBPRT"), QStringLiteral("Tribunal Judicial do Porto"), QStringLiteral("Porto")},
        {QStringLiteral("TBCBR"), QStringLiteral("Tribunal Judicial de Coimbra"), QStringLiteral("Coimbra")},
        {QStringLiteral("TBSNT"), QStringLiteral("Tribunal Judicial de Sintra"), QStringLiteral("Sintra")},
        {QStringLiteral("TBOER"), QStringLiteral("Tribunal Judicial de Oeiras"), QStringLiteral("Oeiras")},
        {QStringLiteral("TBCSC"), QStringLiteral("Tribunal Judicial de Cascais"), QStringLiteral("Cascais")},
        {QStringLiteral("TBFAR"), QStringLiteral("Tribunal Judicial de Faro"), QStringLiteral("Faro")},
    };
    return list;
}

const QStringList& courtWork()
{
    static const QStringList names{
        QStringLiteral("Petição inicial"),
        QStringLiteral("Contestação"),
        QStringLiteral("Réplica"),
        QStringLiteral("Recurso de apelação"),
        QStringLiteral("Alegações de recurso"),
        QStringLiteral("Audiência de julgamento"),
        QStringLiteral("Providência cautelar"),
        QStringLiteral("Execução de sentença"),
        QStringLiteral("Requerimento de prova"),
        QStringLiteral("Reclamação de créditos"),
        QStringLiteral("Oposição à execução"),
        QStringLiteral("Embargos de terceiro"),
        QStringLiteral("Acção de despejo"),
        QStringLiteral("Processo de inventário"),
        QStringLiteral("Impugnação de despedimento"),
    };
    return names;
}

const QStringList& otherWork()
{
    static const QStringList names{
        QStringLiteral("Parecer jurídico"),           QStringLiteral("Contrato de arrendamento"),
        QStringLiteral("Contrato de compra e venda"), QStringLiteral("Constituição de sociedade"),
        QStringLiteral("Alteração do pacto social"),  QStringLiteral("Registo de marca"),
        QStringLiteral("Acordo de partilha"),         QStringLiteral("Negociação com credores"),
        QStringLiteral("Contrato de trabalho"),       QStringLiteral("Escritura de habilitação"),
        QStringLiteral("Assembleia geral"),           QStringLiteral("Cobrança extrajudicial"),
        QStringLiteral("Auditoria jurídica"),
    };
    return names;
}

const QStringList& tasks()
{
    static const QStringList names{
        QStringLiteral("Reunião com o cliente"),
        QStringLiteral("Analisar documentação do cliente"),
        QStringLiteral("Redigir minuta"),
        QStringLiteral("Rever minuta"),
        QStringLiteral("Pesquisa de jurisprudência"),
        QStringLiteral("Pesquisa de doutrina"),
        QStringLiteral("Telefonema com o cliente"),
        QStringLiteral("Telefonema ao mandatário da contraparte"),
        QStringLiteral("Preparar audiência"),
        QStringLiteral("Comparecer em tribunal"),
        QStringLiteral("Enviar requerimento ao tribunal"),
        QStringLiteral("Consultar o processo na secretaria"),
        QStringLiteral("Elaborar nota de honorários"),
        QStringLiteral("Preparar articulado"),
        QStringLiteral("Obter certidões"),
        QStringLiteral("Deslocação às Finanças"),
        QStringLiteral("Deslocação à Conservatória"),
        QStringLiteral("Correspondência com a contraparte"),
        QStringLiteral("Notificar testemunhas"),
        QStringLiteral("Organizar prova documental"),
        QStringLiteral("Actualizar a ficha do dossier"),
    };
    return names;
}

} // namespace tools::demonames
