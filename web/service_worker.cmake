# Writes the site's service worker, SITE/sw.js, from TEMPLATE (sw.js.in): the files it keeps
# (FILES, names in SITE), each with its SHA-256, and the name of its cache, made from those.
# A build that changes any of them gives a new worker with a cache of its own, which replaces
# the old one; an unchanged build gives the same worker byte for byte, which the browser does
# not install again. Run with cmake -DSITE=... -DFILES=a;b -DTEMPLATE=... -P service_worker.cmake
# (the web build does; a test runs it again on a changed copy of the site).

foreach(variable SITE FILES TEMPLATE)
  if(NOT DEFINED ${variable})
    message(FATAL_ERROR "service_worker.cmake: ${variable} is not set")
  endif()
endforeach()

set(entries)
set(digests)
foreach(name ${FILES})
  file(SHA256 ${SITE}/${name} digest)
  list(APPEND entries "  \"${name}\": \"${digest}\"")
  string(APPEND digests "${name} ${digest}\n")
endforeach()
list(JOIN entries ",\n" ORVESSA_KEPT_FILES)
string(SHA256 version "${digests}")
string(SUBSTRING ${version} 0 16 ORVESSA_SITE_VERSION)
configure_file(${TEMPLATE} ${SITE}/sw.js @ONLY)
