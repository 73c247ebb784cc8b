#pragma once

#include <QString>

// Security policies of the office database: a policy (one row of tbSecurityPolicies, named by its code)
// applies to a user when its users_groups text, a list of codes separated by ';', holds the user's code or
// the code of one of the user's groups as a whole entry. Both functions read the shared connection afresh on every call
// and keep nothing.
namespace security::modCheckPermissions {

// The SQL condition that finds the user's code and group codes as whole entries of the list in column (empty column:
// "user_code" for the user's clause, "group_code" for the groups'), each followed by the grant suffix ("1" when it is
// empty and requireGrant is set); with requireGrant, also excludes the codes followed by the deny suffix
// ("2" when empty). Returns empty text when the user has no group links. A code that is null, blank or
// holds ';' adds no clause. On an error, reports it (rule C, "modCheckPermissions") and returns the condition as
// far as it was built.
QString ReadPermitionsDef(const QString& userName, const QString& column, bool requireGrant, const QString& grantSuffix,
                          const QString& denySuffix);

// True when the policy policyCode exists and names the user's code or one of the user's group codes.
// False when the policy has no row, when the user has no group links (nothing is granted by omission),
// when it does not name the user or any of the user's groups, and after any error (reported, rule C,
// "modCheckPermissions"), including a failed read of the user's group links.
bool CheckSecurityPolicy(const QString& userName, const QString& policyCode);

} // namespace security::modCheckPermissions
