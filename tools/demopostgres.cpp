#include "tools/demopostgres.h"

#include "data/office/postgresadmin.h"
#include "tools/demooffice.h"
#include "tools/demostaff.h"

namespace tools {

void copyToPostgres(const QString& file, const data::PostgresTarget& target, bool replace)
{
    const auto server = target.session();
    for (const DemoLogin& login : DemoStaff::logins()) {
        server->setLogin(login.user, login.password);
    }
    data::postgresoffice::create(
        target, DemoOffice::sharedUser(), DemoOffice::sharedPassword(), {replace, true},
        [&](data::PostgresAdmin& office) { data::postgresoffice::copyOfficeFile(file, office); });
}

} // namespace tools
