#!/usr/bin/env bash
# On a fresh Debian 12 machine, as root: builds the package, installs it with apt, sets up an office
# with orvadmin alone as the README tells (a shared office file in /srv/orv) and checks a login on it, then two
# ordinary users of the office group log in and write to it at the same time, starts the installed counter on a
# virtual display and saves build/screenshots/installed.png, then removes and purges the package and checks
# nothing stays.
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
    /usr/share/icons/hicolor/48x48/apps/orvcounter.png /usr/share/doc/orvcounter/copyright \
    /usr/share/doc/orvcounter/changelog.gz; do
    test -e "$file" || { echo "missing after install: $file"; exit 1; }
done
test -d /etc/orvcounter
dpkg-query -W -f='${Package} ${Version} ${Status}\n' orvcounter

step "setting up an office without SQL Server with orvadmin, as the README tells"
getent group orvcounter >/dev/null || { echo "the package made no group orvcounter"; exit 1; }
for person in maria rui; do
    id "$person" >/dev/null 2>&1 || useradd --create-home --groups orvcounter "$person"
done
office=/srv/orv-check
rm -rf "$office"
echo 'shared-secret' | orvadmin office create "$office/escritorio.db" --server LOCAL --password-stdin
test "$(stat -c '%a %G' "$office")" = "2775 orvcounter" || { stat "$office"; exit 1; }
test "$(stat -c '%a %G' "$office/escritorio.db")" = "664 orvcounter" || { stat "$office/escritorio.db"; exit 1; }
orvadmin lawyer add --contact 501 --name "Maria d'Orey Ferreira" --price 45,5
orvadmin lawyer add --contact 502 --name "Rui Sousa" --price 40
orvadmin user add mferreira --contact 501 --code MF --group ADV
orvadmin user add rsousa --contact 502 --code RS --group ADV
echo 'a minha palavra' | orvadmin login add mferreira --password-stdin
echo 'a do rui' | orvadmin login add rsousa --password-stdin
csv=$(mktemp -d)
printf 'contacto_id;nome_union\n1001;"Silva; Filhos, Lda"\n' >"$csv/clientes.csv"
printf 'processo_id;processo_no_completo;contacto_id;judicial\n1;2024/001;1001;1\n' >"$csv/dossiers.csv"
printf 'trabalho_id;processo_id;descrit;advogado_id;data_escritorio\n10;1;Contestação;501;15-03-2024\n' \
    >"$csv/trabalhos.csv"
printf 'tarefa_id;trabalho_id;descrit\n100;10;Redigir contestação\n101;99;Sem trabalho\n' >"$csv/tarefas.csv"
set +e
orvadmin import --clients "$csv/clientes.csv" --cases "$csv/dossiers.csv" --work "$csv/trabalhos.csv" \
    --tasks "$csv/tarefas.csv"
code=$?
set -e
[ "$code" -eq 3 ] || { echo "a bad row was not refused (exit $code)"; exit 1; }
sed -i '$d' "$csv/tarefas.csv"
orvadmin import --clients "$csv/clientes.csv" --cases "$csv/dossiers.csv" --work "$csv/trabalhos.csv" \
    --tasks "$csv/tarefas.csv"
echo 'a minha palavra' | orvadmin check --user mferreira --password-stdin
set +e
echo 'wrong' | orvadmin check --user mferreira --password-stdin
code=$?
set -e
[ "$code" -eq 14 ] || { echo "a wrong password did not fail step 4 (exit $code)"; exit 1; }
orvadmin settings

step "two users of the group log in and write to the office file at once"
echo 'a minha palavra' | runuser -u maria -- orvadmin check --user mferreira --password-stdin
echo 'a do rui' | runuser -u rui -- orvadmin check --user rsousa --password-stdin
# Each holds the file open while the other writes: the journal and shared memory one of them makes must serve both.
DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends sqlite3 >/dev/null
write() {
    { echo ".timeout 5000"; echo "UPDATE tbProcessos_Trabalhos_Tarefas SET descrit = descrit WHERE tarefa_id = 100;"
      sleep 2; echo "UPDATE tbProcessos_Trabalhos_Tarefas SET descrit = descrit WHERE tarefa_id = 100;"; } |
        runuser -u "$1" -- sqlite3 -bail "$office/escritorio.db"
}
write maria & first=$!
sleep 1
write rui
wait "$first"
ls -l "$office"
# A user outside the group is told which permission is missing, not that the file is no database.
id intruso >/dev/null 2>&1 || useradd --create-home intruso
set +e
said=$(echo 'a minha palavra' | runuser -u intruso -- orvadmin check --user mferreira --password-stdin)
code=$?
set -e
echo "$said"
[ "$code" -eq 12 ] && grep -q 'não pode escrever' <<<"$said" || { echo "the missing permission was not named"; exit 1; }

step "starting the installed counter on a virtual display"
bash scripts/install-deps.sh --display
ORV_BUILD_DIR=build-package ORV_COUNTER_BIN=/usr/bin/orvcounter ORV_DEMO_BIN=/usr/bin/orvdemo \
    bash scripts/screenshot.sh build/screenshots/installed.png

step "removing the package"
DEBIAN_FRONTEND=noninteractive apt-get remove -y -q orvcounter >/dev/null
for file in /usr/bin/orvcounter /usr/bin/orvadmin /usr/bin/orvdemo /usr/share/applications/orvcounter.desktop \
    /usr/share/icons/hicolor/scalable/apps/orvcounter.svg /usr/share/icons/hicolor/48x48/apps/orvcounter.png; do
    test ! -e "$file" || { echo "left after remove: $file"; exit 1; }
done
# The autostart entry is configuration and stays until purge, inert: its TryExec names a program no longer there,
# and a desktop skips such an entry.
grep -qx 'TryExec=orvcounter' /etc/xdg/autostart/orvcounter.desktop && ! command -v orvcounter >/dev/null
# Configuration stays until purge: the machine settings and the autostart entry (inert: TryExec).
test -f /etc/orvcounter/HKEY_LOCAL_MACHINE.reg && echo "after remove the machine settings stay until purge"
DEBIAN_FRONTEND=noninteractive apt-get purge -y -q orvcounter >/dev/null
for file in /etc/orvcounter /etc/xdg/autostart/orvcounter.desktop; do
    test ! -e "$file" || { echo "left after purge: $file"; exit 1; }
done
! dpkg -s orvcounter >/dev/null 2>&1 || { echo "still known to dpkg after purge"; exit 1; }
echo "install check passed"
