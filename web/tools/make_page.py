#!/usr/bin/python3
"""Writes the clock's pages from web/page/index.html.

  make_page.py site SITE_DIR TEMPLATE SW_TEMPLATE
      SITE_DIR already holds the module, the font, the icons and the
      manifest; writes SITE_DIR/index.html (every file by its name) and
      SITE_DIR/service-worker.js (which stores every file of the site).

  make_page.py single OUT TEMPLATE SINGLE_JS FONT EMBLEM EMBLEM16 ICON
      writes one self-contained page: the module with its wasm inside
      (SINGLE_JS), the font and the pictures as data: addresses.
"""

import base64
import hashlib
import json
import os
import sys


def data_url(path, mime):
    with open(path, "rb") as f:
        return "data:%s;base64,%s" % (mime, base64.b64encode(f.read()).decode("ascii"))


def fill(template, values):
    with open(template, encoding="utf-8") as f:
        text = f.read()
    for key, value in values.items():
        text = text.replace("@%s@" % key, value)
    return text


def site(site_dir, template, sw_template):
    # Asked for as soon as the page's first bytes are read, before its
    # loader script runs: the loader's own requests then find them coming.
    links = "\n".join([
        '<link rel="preload" href="tirpo-gothic.woff2" as="font" type="font/woff2" crossorigin>',
        '<link rel="preload" href="tirpo-clock.wasm" as="fetch" type="application/wasm" crossorigin>',
        '<link rel="preload" href="tirpo-clock.js" as="script">',
        '<link rel="icon" type="image/png" sizes="32x32" href="icon-32.png">',
        '<link rel="apple-touch-icon" sizes="180x180" href="icon-180.png">',
        '<link rel="manifest" href="manifest.webmanifest">',
    ])
    page = fill(template, {
        "FONT_URL": '"tirpo-gothic.woff2"',
        "FONT_FILE": "tirpo-gothic.woff2",
        "EMBLEM_URL": "icon-192.png",
        "EMBLEM16_URL": "emblem16-128.png",
        "JS_URL": "tirpo-clock.js",
        "JS_FILE": "tirpo-clock.js",
        "WASM_FILE": "tirpo-clock.wasm",
        "SERVICE_WORKER": "service-worker.js",
    })
    page = page.replace("<!--@HEAD_LINKS@-->", links)
    with open(os.path.join(site_dir, "index.html"), "w", encoding="utf-8") as f:
        f.write(page)
    files = sorted(n for n in os.listdir(site_dir)
                   if os.path.isfile(os.path.join(site_dir, n))
                   and n not in ("service-worker.js", "tirpo-clock.html"))
    digest = hashlib.sha256()
    for name in files:
        with open(os.path.join(site_dir, name), "rb") as f:
            digest.update(name.encode() + b"\0" + f.read())
    worker = fill(sw_template, {
        "VERSION": digest.hexdigest()[:16],
        "FILES": json.dumps(["./"] + files),
    })
    with open(os.path.join(site_dir, "service-worker.js"), "w", encoding="utf-8") as f:
        f.write(worker)


def single(out, template, single_js, font, emblem, emblem16, icon):
    with open(single_js, encoding="utf-8") as f:
        module = f.read()
    link = '<link rel="icon" type="image/png" sizes="32x32" href="%s">' % data_url(icon, "image/png")
    page = fill(template, {
        "FONT_URL": '"%s"' % data_url(font, "font/woff2"),
        "FONT_FILE": "tirpo-gothic.woff2",
        "EMBLEM_URL": data_url(emblem, "image/png"),
        "EMBLEM16_URL": data_url(emblem16, "image/png"),
        "JS_FILE": "tirpo-clock",
        "WASM_FILE": "",
        "SERVICE_WORKER": "",
    })
    page = page.replace("<!--@HEAD_LINKS@-->", link)
    # The module goes in as a script of its own, after the loader has set
    # Module up: the loader's start() appends it from a blob.
    page = page.replace('script.src = "@JS_URL@";',
                        'script.src = URL.createObjectURL(new Blob([document.getElementById("module").textContent], '
                        '{ type: "text/javascript" }));')
    module_tag = '<script type="text/plain" id="module">%s</script>\n' % module.replace("</script", "<\\/script")
    page = page.replace("<script>\n(function () {", module_tag + "<script>\n(function () {", 1)
    with open(out, "w", encoding="utf-8") as f:
        f.write(page)


if __name__ == "__main__":
    if len(sys.argv) == 5 and sys.argv[1] == "site":
        site(*sys.argv[2:])
    elif len(sys.argv) == 9 and sys.argv[1] == "single":
        single(*sys.argv[2:])
    else:
        sys.exit(__doc__)
