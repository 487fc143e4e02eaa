# Writes the web page with the size of the module it loads: the byte count
# for its progress bar, and the one figure in megabytes (10^6 bytes, one
# decimal) that the page and scripts/web show.
#   cmake -DPAGE=web_page.html -DMODULE=intro.wasm -DOUTPUT=index.html -P web_page_fill.cmake
file(SIZE "${MODULE}" VESK_MODULE_BYTES)
math(EXPR tenths "(${VESK_MODULE_BYTES} + 50000) / 100000")
math(EXPR whole "${tenths} / 10")
math(EXPR tenth "${tenths} % 10")
set(VESK_MODULE_MB "${whole}.${tenth}")
configure_file("${PAGE}" "${OUTPUT}" @ONLY)
