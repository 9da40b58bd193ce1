# Writes the page's service worker, build/web/sw.js, from its template: the page's files, and a
# version that is a hash of their contents, so that a build that changes any of them is a new
# version whose files replace the old ones in the players' browsers.
#   cmake -DPAGE_DIR=DIR -DTEMPLATE=sw.js.in -DFILES=a,b,c -P PageCache.cmake
string(REPLACE "," ";" files "${FILES}")
set(hashes "")
set(names "")
foreach(file ${files})
  file(SHA256 ${PAGE_DIR}/${file} hash)
  string(APPEND hashes ${hash})
  list(APPEND names "'${file}'")
endforeach()
string(SHA256 version "${hashes}")
string(SUBSTRING ${version} 0 16 PAGE_VERSION)
list(JOIN names ", " PAGE_FILES)
configure_file(${TEMPLATE} ${PAGE_DIR}/sw.js @ONLY)
