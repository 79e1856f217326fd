// The page in headless Chromium: the same bytes as the native program for the same keys,
// the loader's errors, the address fragment, back one step, the live chart drawn, the
// exports. Environment: MLFQ_PAGE (the page), MLFQ_BINARY (the native program),
// MLFQ_EXAMPLES (the bundled examples), MLFQ_PUPPETEER (puppeteer-core's folder).
import { test, before, after } from 'node:test';
import assert from 'node:assert/strict';
import { execFileSync } from 'node:child_process';
import fs from 'node:fs';
import os from 'node:os';
import path from 'node:path';
import { pathToFileURL } from 'node:url';

const { default: puppeteer } = await import(pathToFileURL(path.join(process.env.MLFQ_PUPPETEER, 'lib/esm/puppeteer/puppeteer-core.js')).href);
const pageFile = process.env.MLFQ_PAGE;
const binary = process.env.MLFQ_BINARY;
const examples = process.env.MLFQ_EXAMPLES;
const here = path.dirname(new URL(import.meta.url).pathname);

let browser, page;
const latin1 = (s) => Buffer.from(s, 'latin1');

before(async () => {
  browser = await puppeteer.launch({
    executablePath: process.env.CHROMIUM || '/usr/bin/chromium', headless: true,
    args: ['--no-sandbox', '--disable-gpu', '--disable-quic', '--no-first-run', '--disable-background-networking',
           '--disable-component-update', '--disable-sync', `--user-data-dir=${fs.mkdtempSync(path.join(os.tmpdir(), 'mlfq-chromium-'))}`],
  });
  page = await browser.newPage();
  await page.setViewport({ width: 1366, height: 768 }); // a Chromebook's screen
  const requests = [];
  page.on('request', (r) => { if (!r.url().startsWith('file:') && !r.url().startsWith('data:') && !r.url().startsWith('blob:')) requests.push(r.url()); });
  const start = Date.now();
  await page.goto(pathToFileURL(pageFile).href);
  await page.waitForFunction(() => window.mlfq && window.mlfq.pronto, { timeout: 10000 });
  console.log(`first screen after ${Date.now() - start} ms`);
  assert.deepEqual(requests, [], 'nothing is fetched from the network');
});
after(async () => { await browser?.close(); });

// The native program on a pseudo-terminal in a folder holding the workload.
function native(workload, options, keys) {
  const dir = fs.mkdtempSync(path.join(os.tmpdir(), 'mlfq-native-'));
  fs.writeFileSync(path.join(dir, 'processo.txt'), latin1(workload));
  const hex = execFileSync('python3', [path.join(here, 'native_session.py'), binary, dir, Buffer.from(keys, 'latin1').toString('hex'), ...options], { encoding: 'utf8' });
  return { output: Buffer.from(hex, 'hex').toString('latin1'), dir };
}

const workloads = [
  ['the classroom example', fs.readFileSync(path.join(examples, 'sala-de-aula', 'processo.txt'), 'latin1')],
  ['I/O ending together', '9\nX 0 0 2\n1 3\n1\nY 0 0 2\n1 1\n1\n'],
  ['a Windows-1252 name', '2\nS\xe9rgio 0 0 2\n3 1\n2\nZ\x93 1 0 1\n4\n'],
];
const ruleSets = [[], ['--tempo-livro'], ['--filas', '3', '--quantum-fila', '2,4,0', '--preempcao', '--boost', '7'],
                  ['--tempo-livro', '--preempcao', '--io-mantem-fila', '--cota']];
const scripts = ['c\t\t\tc\t\t\t\t1x3x5xc\t\t\t\t\t\t', 'cccccc' + '\t'.repeat(40) + '24x', '\x1b[Ac\t\x1b[B\t\t\t2x'];

test('the page writes the native program\'s bytes for the same keys', async () => {
  for (const [title, workload] of workloads) {
    for (const rules of ruleSets) {
      for (const keys of scripts) {
        const expected = native(workload, rules, keys).output;
        const got = await page.evaluate((w, r, k) => {
          // The editor holds text: the page reads a file's bytes as UTF-8, else Windows-1252.
          const bytes = Uint8Array.from(w, (c) => c.charCodeAt(0));
          let text; try { text = new TextDecoder('utf-8', { fatal: true }).decode(bytes); } catch (e) { text = new TextDecoder('windows-1252').decode(bytes); }
          if (mlfq.carregar(text, r) !== null) return 'not loaded';
          mlfq.teclas(k); mlfq.teclas('\x1b');
          return { out: mlfq.saida(), end: mlfq.fim() };
        }, workload, rules, keys);
        assert.equal(got.out, expected, `${title} ${rules.join(' ')} ${JSON.stringify(keys)}`);
      }
    }
  }
});

test('the whole run\'s JSON is the native --json', async () => {
  for (const [title, workload] of workloads.slice(0, 2)) {
    for (const rules of ruleSets) {
      const { dir } = native(workload, rules, '');
      const expected = execFileSync(binary, ['--json', ...rules], { cwd: dir, encoding: 'utf8' });
      const got = await page.evaluate((w, r) => { mlfq.carregar(w, r); mlfq.teclas('ccc\t\t\t\t\t\t'); return mlfq.relatorio(); }, workload, rules);
      assert.equal(got, expected, `${title} ${rules.join(' ')}`);
    }
  }
});

test('a malformed workload gives the loader\'s message and line', async () => {
  const cases = [['3\nA 0 0 2\n4 2\n', 3, 'esperava o tempo de CPU'], ['x\n', 1, 'esperava o quantum']];
  for (const [text, line, message] of cases) {
    const error = await page.evaluate((t) => mlfq.carregar(t, []), text);
    assert.equal(error.linha, line);
    assert.ok(error.mensagem.includes(message), error.mensagem);
    const shown = await page.$eval('#erro', (e) => e.textContent);
    assert.ok(shown.startsWith(`Linha ${line}: `), shown);
  }
  const options = await page.evaluate(() => mlfq.carregar('3\nA 0 0 1\n1\n', ['--filas', '9']));
  assert.equal(options.linha, 0);
  assert.ok(options.mensagem.includes('valor invalido para --filas'), options.mensagem);
});

test('a link from mlfq --link opens the same workload and rules', async () => {
  const dir = path.join(examples, 'sala-de-aula');
  const fragment = execFileSync(binary, ['--link', '--filas', '3', '--preempcao', 'processo.txt'], { cwd: dir, encoding: 'utf8' }).trim();
  const other = await browser.newPage();
  await other.goto(pathToFileURL(pageFile).href + fragment);
  await other.waitForFunction(() => window.mlfq && window.mlfq.pronto);
  const shown = await other.evaluate(() => ({ text: document.getElementById('texto').value, command: document.getElementById('comando').textContent, link: mlfq.link() }));
  assert.equal(shown.text, fs.readFileSync(path.join(dir, 'processo.txt'), 'utf8'));
  assert.equal(shown.command, 'mlfq --filas 3 --preempcao processo.txt');
  assert.equal(shown.link, fragment, 'the page makes the same link');
  await other.close();
});

test('back one step is a replay to the step before', async () => {
  const [, workload] = workloads[0];
  const step = 'c' + '\t'.repeat(10); // a step and its TAB pauses (more TABs redraw the menu)
  const replay = await page.evaluate((w, s) => { mlfq.carregar(w, ['--preempcao']); mlfq.teclas(s + s); return mlfq.saida(); }, workload, step);
  const back = await page.evaluate((w, s) => {
    mlfq.carregar(w, ['--preempcao']); mlfq.teclas(s + s + s); mlfq.voltar();
    return { out: mlfq.saida(), clock: mlfq.estado().tempo };
  }, workload, step);
  assert.equal(back.out, replay);
  assert.equal(back.clock, 2);
});

test('the live chart is drawn, and the PNG export decodes', async () => {
  const timings = await page.evaluate((w) => {
    mlfq.carregar(w, ['--filas', '2']);
    const times = [];
    for (let i = 0; i < 30; i++) { const t = performance.now(); mlfq.teclas('c' + '\t'.repeat(8)); times.push(performance.now() - t); }
    return times;
  }, workloads[0][1]);
  console.log(`a step with its events and the chart: ${Math.max(...timings).toFixed(1)} ms at most`);
  const chart = await page.$('#grafico svg');
  const shot = await chart.screenshot({ encoding: 'base64' });
  const counts = await page.evaluate(async (data) => {
    const image = await createImageBitmap(await (await fetch(`data:image/png;base64,${data}`)).blob());
    const canvas = new OffscreenCanvas(image.width, image.height);
    const context = canvas.getContext('2d'); context.drawImage(image, 0, 0);
    const pixels = context.getImageData(0, 0, image.width, image.height).data;
    let queue1 = 0, queue2 = 0;
    const rowsEnd = Math.floor(image.height * 0.55) * image.width * 4; // above the axis and the legend
    for (let i = 0; i < rowsEnd; i += 4) {
      const [r, g, b] = [pixels[i], pixels[i + 1], pixels[i + 2]];
      if (Math.abs(r - 0x00) < 12 && Math.abs(g - 0x72) < 12 && Math.abs(b - 0xB2) < 12) queue1++;
      if (Math.abs(r - 0xE6) < 12 && Math.abs(g - 0x9F) < 12 && Math.abs(b - 0x00) < 12) queue2++;
    }
    return { queue1, queue2 };
  }, shot);
  assert.ok(counts.queue1 > 200 && counts.queue2 > 100, JSON.stringify(counts));
  const png = await page.evaluate(async () => {
    const bytes = await mlfq.png();
    const image = await createImageBitmap(new Blob([bytes], { type: 'image/png' }));
    return { signature: Array.from(bytes.slice(0, 8)), width: image.width, height: image.height };
  });
  assert.deepEqual(png.signature, [137, 80, 78, 71, 13, 10, 26, 10]);
  assert.ok(png.width >= 640 && png.height > 100, JSON.stringify(png));
  assert.ok(fs.statSync(pageFile).size < 1.5 * 1024 * 1024, 'the page is under 1.5 MB');
  await page.screenshot({ path: path.join(os.tmpdir(), 'mlfq-page.png'), fullPage: true });
});

test('verificar checks a prediction of who holds the CPU in each unit', async () => {
  for (const rules of [[], ['--tempo-livro'], ['--livro', '--filas', '2']]) {
    const native = execFileSync(binary, ['--json', ...rules], { cwd: path.join(examples, 'sala-de-aula'), encoding: 'utf8' });
    const run = JSON.parse(native);
    const holder = new Array(run.tempo_total).fill('');
    for (const p of run.processos) for (const [from, to, s] of p.linha_do_tempo) if (/[1-8]/.test(s)) for (let t = from; t < to; t++) holder[t] = p.nome;
    const text = fs.readFileSync(path.join(examples, 'sala-de-aula', 'processo.txt'), 'utf8');
    const pageRules = rules.flatMap((r) => (r === '--livro' ? ['--tempo-livro', '--preempcao', '--io-mantem-fila', '--cota'] : [r]));
    const check = (prediction) => page.evaluate((t, r, p) => { mlfq.carregar(t, r); return mlfq.verificar(p); }, text, pageRules, prediction);
    assert.deepEqual(await check(holder), { certo: true, primeiro_erro: null, esperado: null, motivo: `Todas as ${holder.length} unidades certas.` });
    for (const at of [0, Math.floor(holder.length / 2), holder.length - 1]) {
      const wrong = holder.slice();
      wrong[at] = wrong[at] === 'Editor' ? 'Backup' : 'Editor';
      const result = await check(wrong);
      assert.equal(result.certo, false);
      assert.equal(result.primeiro_erro, at);
      assert.equal(result.esperado, holder[at]);
      assert.ok(result.motivo.startsWith(`No tempo ${at} `), result.motivo);
    }
    const short = await check(holder.slice(0, 4));
    assert.equal(short.primeiro_erro, 4);
    assert.equal(short.esperado, holder[4]);
  }
});

test('asked before a step, the student is told at once', async () => {
  await page.evaluate(() => { mlfq.carregar('3\nA 0 0 1\n4\nB 1 0 1\n2\n', []); document.getElementById('perguntar').checked = true; });
  for (const [answer, told] of [['A', 'Certo! '], ['B', 'Não: era A. ']]) {
    await page.click('button[data-tecla="c"]');
    assert.equal(await page.$eval('#pergunta', (e) => e.hidden), false);
    const before = await page.evaluate(() => mlfq.estado().passos);
    const options = await page.$$eval('#pergunta-opcoes button', (bs) => bs.map((b) => b.textContent));
    const buttons = await page.$$('#pergunta-opcoes button');
    await buttons[options.indexOf(answer)].click();
    const reply = await page.$eval('#resposta', (e) => e.textContent);
    assert.ok(reply.startsWith(told), reply);
    assert.equal(await page.evaluate(() => mlfq.estado().passos), before + 1, 'the step ran');
    await page.evaluate(() => mlfq.teclas('\t\t\t\t'));
  }
  await page.evaluate(() => { document.getElementById('perguntar').checked = false; });
});

test('beside the terminal, each event of the last step with its reason', async () => {
  const shown = await page.evaluate(() => {
    mlfq.carregar('3\nA 0 0 1\n4\nB 1 0 1\n2\n', []);
    mlfq.teclas('c\t\tc\t');
    return Array.from(document.querySelectorAll('#eventos li'), (li) => li.textContent.trim());
  });
  assert.deepEqual(shown, ['Processo B entrou na fila de prontos no tempo: 1porque chegou no tempo 1: todo processo que chega entra no fim da fila 1']);
});
