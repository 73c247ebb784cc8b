#pragma once

#include "registry/registrybackend.h"

#include <QString>

#include <optional>

// String values of the registry under keys given as one text path that begins with the name of a root key, e.g.
// "HKEY_CURRENT_USER\Software\Vorlent". A read gives the text, or std::nullopt (null) when the key or the value
// cannot be read; an empty stored value reads as "". Errors other than the platform's refusals are reported as
// "Módulo de Registo" errors and end the procedure with the result it held.
namespace registry::modRegistry {

// Module state, overwritten by each call.
extern KeyHandle RegKeyHandle; // the key opened by the current operation
extern quint32 RegRootHandle;  // the root of the last path parsed
extern qint32 RegResult;       // result of the last platform call; the separator position while parsing
extern QString RegBuffer;      // the read buffer
extern qint32 RegBufferLength; // size of RegBuffer given to the platform, then the length it returned

// The largest read, in characters, terminating zero included.
constexpr qint32 RegBufferSize = 3500;

// Splits path into its root (set to the root's handle, 0 for an unknown root name) and the rest, left in path
// ("" for the root key itself). A path that does not begin with "HKEY_" or ends with "\" shows
// "Formato Incorrecto:" and changes neither argument.
void FormatarChave(QString& path, quint32& root);

// The handle of a root key name ("HKEY_CURRENT_USER"...), compared exactly; 0 for any other text.
quint32 ObterHandleChavePrincipal(const QString& name);

// Creates the key with its missing parents, or opens it when it exists. False when the path is malformed, names no
// root, or the key cannot be created.
bool CriarChave(const QString& path);

// Writes a string value into an existing key. False when the key does not exist (CriarChave comes first), the path
// is malformed or names no root, or the value cannot be written.
bool DefinirValorString(const QString& path, const QString& name, const QString& value);

// Reads a string value as stored, without its leading blanks. "" when the path is malformed or names no root;
// null when the key or the value is missing or the value has RegBufferSize characters or more.
std::optional<QString> ValorString(const QString& path, const QString& name);

// Reads a string value like ValorString, following redirections: a value "SREF=<key path>" is read again from that
// key under the same name, as often as it redirects. Null when a redirection leads back to a key already read.
std::optional<QString> ObterValorString(const QString& path, const QString& name);

} // namespace registry::modRegistry
