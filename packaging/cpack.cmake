# The Debian package (scripts/package.sh runs cpack). Included from the top CMakeLists.txt.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME orvcounter)
set(CPACK_PACKAGE_VENDOR "Orv Counter")
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Contador de tempo das tarefas dos advogados")
set(CPACK_PACKAGE_DESCRIPTION "Lista as tarefas pendentes do advogado e conta o tempo gasto em cada uma, na base \
de dados do escritório (SQL Server por ODBC, ou uma base de dados local). Inclui orvadmin, o comando de \
administração, e orvdemo, o gerador do escritório de demonstração.")
set(CPACK_PACKAGING_INSTALL_PREFIX ${CMAKE_INSTALL_PREFIX})
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "Orv Counter <orvcounter@localhost>")
set(CPACK_DEBIAN_PACKAGE_SECTION office)
# The shared libraries linked are found by dpkg-shlibdeps; the drivers and translations Qt loads at run time are not.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "libqt6sql6-sqlite, libqt6sql6-odbc, libqt6sql6-psql, qt6-qpa-plugins, qt6-translations-l10n")
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "tdsodbc")
set(CPACK_DEBIAN_PACKAGE_CONTROL_EXTRA ${CMAKE_SOURCE_DIR}/packaging/conffiles ${CMAKE_SOURCE_DIR}/packaging/postinst
    ${CMAKE_SOURCE_DIR}/packaging/postrm)
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
include(CPack)
