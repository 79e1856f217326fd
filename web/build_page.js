// Writes mlfq.html: the page's template with the terminal emulator, the compiled
// simulator (WebAssembly embedded), the page's own script and style, the bundled example
// workloads and the licences inlined, so that the one file needs nothing else.
// Usage: node build_page.js MODULE.js EXAMPLES_FOLDER OUT.html
'use strict';
const fs = require('fs');
const path = require('path');
const crypto = require('crypto');

const [moduleFile, examplesFolder, outFile] = process.argv.slice(2);
const here = __dirname;
const read = (file) => fs.readFileSync(file, 'utf8');
const xterm = path.join(here, 'node_modules', '@xterm', 'xterm');

// A script's text cannot hold "</script" inside an HTML page.
const inlineScript = (text) => text.replace(/<\/(script)/gi, '<\\/$1');

// Every example workload, by its folder and file name, as bytes in Latin-1 code units so
// that a file saved by a Windows editor comes through unchanged.
const examples = [];
for (const folder of fs.readdirSync(examplesFolder).sort()) {
  const dir = path.join(examplesFolder, folder);
  if (!fs.statSync(dir).isDirectory()) continue;
  for (const file of fs.readdirSync(dir).sort()) {
    if (!file.endsWith('.txt')) continue;
    const name = file === 'processo.txt' ? folder : `${folder}/${file}`;
    examples.push({ nome: name, texto: fs.readFileSync(path.join(dir, file)).toString('latin1') });
  }
}

const parts = {
  XTERM_CSS: read(path.join(xterm, 'css', 'xterm.css')),
  PAGE_CSS: read(path.join(here, 'page.css')),
  XTERM_JS: inlineScript(read(path.join(xterm, 'lib', 'xterm.js'))),
  MODULE_JS: inlineScript(read(moduleFile)),
  PAGE_JS: inlineScript(read(path.join(here, 'page.js'))),
  EXAMPLES_JSON: inlineScript(JSON.stringify(examples)),
  XTERM_LICENSE: read(path.join(xterm, 'LICENSE')).replace(/--/g, '- -'),
};
// What the page is made of, so that a stale copy can be told from a fresh one.
const hash = crypto.createHash('sha256');
for (const key of Object.keys(parts).sort()) hash.update(key).update(parts[key]);
hash.update(read(path.join(here, 'page.html')));
parts.SOURCE_HASH = hash.digest('hex');

let page = read(path.join(here, 'page.html'));
for (const [key, value] of Object.entries(parts)) {
  const marker = `@${key}@`;
  if (!page.includes(marker)) throw new Error(`page.html lacks ${marker}`);
  page = page.split(marker).join(value);
}
fs.writeFileSync(outFile, page);
