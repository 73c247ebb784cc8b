#!/usr/bin/env bash
# On a fresh Debian 12 machine, as root: builds the package, installs it with apt, sets up an office
# with orvadmin alone and checks a login on it, starts the installed counter on a virtual display and
# saves build/screenshots/installed.png, then removes and purges the package and checks nothing stays.
#   ../shared/tools/fresh-check "bash scripts/install-check.sh"
set -euo pipefail
cd "$(dirname "$0")/.."
step() { echo "== $*"; }

step "building the package"
bash scripts/package.sh
deb=$(ls build/orvcounter_*.deb)

step "installing $deb with apt"
DEBIAN_FRONTEND=noninteractive apt install -y -q "./$deb" 2>&1 | tail -3
for file in /usr/bin/orvcounter /usr/bin/orvadmin /usr/bin/orvdemo /usr/share/applications/orvcounter.desktop \
    /etc/xdg/autostart/orvcounter.desktop /usr/share/icons/hicolor/scalable/apps/orvcounter.svg \
    /usr/share/icons/hicolor/48x48/apps/orvcounter.png; do
    test -e "$file" || { echo "missing after install: $file"; exit 1; }
done
test -d /etc/orvcounter
dpkg-query -W -f='${Package} ${Version} ${Status}\n' orvcounter

step "setting up an office without SQL Server with orvadmin"
office=$(mktemp -d)
chmod 755 "$office"
echo 'shared-secret' | orvadmin office create "$office/escritorio.db" --server LOCAL --password-stdin
orvadmin lawyer add --contact 501 --name "Maria d'Orey Ferreira" --price 45,5
orvadmin user add mferreira --contact 501 --code MF --group ADV
echo 'a minha palavra' | orvadmin login add mferreira --password-stdin
printf 'contacto_id;nome_union\n1001;"Silva; Filhos, Lda"\n' >"$office/clientes.csv"
printf 'processo_id;processo_no_completo;contacto_id;judicial\n1;2024/001;1001;1\n' >"$office/dossiers.csv"
printf 'trabalho_id;processo_id;descrit;advogado_id;data_escritorio\n10;1;Contestação;501;15-03-2024\n' \
    >"$office/trabalhos.csv"
printf 'tarefa_id;trabalho_id;descrit\n100;10;Redigir contestação\n101;99;Sem trabalho\n' >"$office/tarefas.csv"
set +e
orvadmin import --clients "$office/clientes.csv" --cases "$office/dossiers.csv" --work "$office/trabalhos.csv" \
    --tasks "$office/tarefas.csv"
code=$?
set -e
[ "$code" -eq 3 ] || { echo "a bad row was not refused (exit $code)"; exit 1; }
sed -i '$d' "$office/tarefas.csv"
orvadmin import --clients "$office/clientes.csv" --cases "$office/dossiers.csv" --work "$office/trabalhos.csv" \
    --tasks "$office/tarefas.csv"
echo 'a minha palavra' | orvadmin check --user mferreira --password-stdin
set +e
echo 'wrong' | orvadmin check --user mferreira --password-stdin
code=$?
set -e
[ "$code" -eq 14 ] || { echo "a wrong password did not fail step 4 (exit $code)"; exit 1; }
orvadmin settings

step "starting the installed counter on a virtual display"
ORV_BUILD_DIR=build-package ORV_COUNTER_BIN=/usr/bin/orvcounter ORV_DEMO_BIN=/usr/bin/orvdemo \
    bash scripts/screenshot.sh build/screenshots/installed.png

step "removing the package"
DEBIAN_FRONTEND=noninteractive apt-get remove -y -q orvcounter >/dev/null
for file in /usr/bin/orvcounter /usr/bin/orvadmin /usr/bin/orvdemo /usr/share/applications/orvcounter.desktop \
    /usr/share/icons/hicolor/scalable/apps/orvcounter.svg /usr/share/icons/hicolor/48x48/apps/orvcounter.png; do
    test ! -e "$file" || { echo "left after remove: $file"; exit 1; }
done
# Configuration stays until purge: the machine settings and the autostart entry (inert: TryExec).
test -f /etc/orvcounter/HKEY_LOCAL_MACHINE.reg && echo "after remove the machine settings stay until purge"
DEBIAN_FRONTEND=noninteractive apt-get purge -y -q orvcounter >/dev/null
for file in /etc/orvcounter /etc/xdg/autostart/orvcounter.desktop; do
    test ! -e "$file" || { echo "left after purge: $file"; exit 1; }
done
! dpkg -s orvcounter >/dev/null 2>&1 || { echo "still known to dpkg after purge"; exit 1; }
echo "install check passed"
