# The layers of the source tree, written down once: the folders whose code each folder may
# include (besides its own). The layering test (tests/scripts/layering.cmake) holds every source
# to it; the libraries' links follow it. "support" is tests/support, the tests' shared helpers.
# "text", the locale-independent text toolkit, lies under everything and is open to all.
set(BRAMBLEX_LAYERS text engine options saverinstall record cli python web platform ui saver fuzz bench)
set(BRAMBLEX_USES_text "")
set(BRAMBLEX_USES_engine text)
set(BRAMBLEX_USES_options engine text)
set(BRAMBLEX_USES_saverinstall options engine text)
set(BRAMBLEX_USES_record engine text)
set(BRAMBLEX_USES_cli record options engine text)
set(BRAMBLEX_USES_python cli record options engine text)
set(BRAMBLEX_USES_web cli record options engine text)
set(BRAMBLEX_USES_platform saverinstall engine text)
set(BRAMBLEX_USES_ui platform saverinstall record options engine text)
set(BRAMBLEX_USES_saver platform saverinstall engine text)
set(BRAMBLEX_USES_fuzz options engine text)
set(BRAMBLEX_USES_bench ui platform engine support text)
