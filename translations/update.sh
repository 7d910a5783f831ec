#!/bin/sh
# Collects the translatable texts of the sources into the seven .ts files.
# New texts arrive untranslated ("unfinished"); fill in every language before
# committing. lrelease compiles the files at build time.
set -e
cd "$(dirname "$0")/.."
lupdate -locations none -no-obsolete -no-ui-lines src helper Form servermanager dataproc tool \
    -ts translations/brontel_zh.ts translations/brontel_en.ts translations/brontel_ja.ts \
        translations/brontel_fr.ts translations/brontel_it.ts translations/brontel_de.ts \
        translations/brontel_es.ts
