// The page: drives the simulator's session (compiled to WebAssembly) from the terminal
// emulator and the buttons, and shows beside it what the run has done so far.
'use strict';

(async function main() {
  const M = await createMlfqModule();
  const $ = (id) => document.getElementById(id);
  const utf8 = new TextEncoder();

  // --- Calls into the simulator; text crosses as bytes. ---------------------------------
  function withBytes(bytes, use) {
    const at = M._malloc(bytes.length + 1);
    M.HEAPU8.set(bytes, at);
    try { return use(at, bytes.length); } finally { M._free(at); }
  }
  const bytesOf = (s) => Uint8Array.from(s, (c) => c.charCodeAt(0) & 255); // a char per byte
  const heapBytes = (at, length) => M.HEAPU8.slice(at, at + length);
  const latin1 = (bytes) => { let s = ''; for (let i = 0; i < bytes.length; i += 8192) s += String.fromCharCode.apply(null, bytes.subarray(i, i + 8192)); return s; };
  const cString = (at) => { let end = at; while (M.HEAPU8[end] !== 0) end++; return new TextDecoder().decode(heapBytes(at, end - at)); };
  const result = () => new TextDecoder().decode(heapBytes(M._mlfq_result(), M._mlfq_result_length()));
  const output = () => heapBytes(M._mlfq_output(), M._mlfq_output_length());
  const state = () => JSON.parse(cString(M._mlfq_state()));
  const ruleTable = JSON.parse(cString(M._mlfq_rule_table()));

  // --- The terminal. ---------------------------------------------------------------------
  const term = new Terminal({ cols: 80, rows: 25, convertEol: true, fontFamily: '"DejaVu Sans Mono", monospace', fontSize: 15, scrollback: 2000 });
  term.open($('terminal'));
  let written = 0; // bytes of the session's output already on the terminal
  let loaded = false;
  function showOutput() {
    const all = output();
    if (all.length < written) { term.reset(); written = 0; } // a replay starts afresh
    if (all.length > written) term.write(all.subarray(written));
    written = all.length;
    refresh();
  }
  let escapeTimer = null;
  // Asked before each clock step: who will hold the CPU in this unit? The answer is told at
  // once, with its reason, and then the step runs.
  function askFirst(bytes) {
    if (!$('perguntar').checked || bytes.length !== 1 || bytes[0] !== 0x63 || state().esperando !== 'menu') return false;
    const { run, holder } = answerKey();
    const t = state().tempo;
    const expected = t < holder.length ? holder[t] : '';
    $('pergunta-tempo').textContent = String(t);
    const options = $('pergunta-opcoes'); options.replaceChildren();
    for (const name of [...run.processos.map((p) => p.nome), '']) {
      const b = document.createElement('button');
      b.textContent = name || 'ninguém (CPU ociosa)';
      b.addEventListener('click', () => {
        $('pergunta').hidden = true;
        $('resposta').textContent = (name === expected ? 'Certo! ' : `Não: era ${expected || 'ninguém (CPU ociosa)'}. `) + reasonAt(run, t, expected);
        feedNow(bytes);
        term.focus();
      });
      options.append(b);
    }
    $('pergunta').hidden = false;
    return true;
  }
  function typed(bytes) {
    if (!loaded || askFirst(bytes)) return;
    feedNow(bytes);
  }
  function feedNow(bytes) {
    withBytes(bytes, (at, n) => M._mlfq_keys(at, n));
    clearTimeout(escapeTimer);
    if (M._mlfq_pending()) // a lone ESC is a key once the escape time has passed
      escapeTimer = setTimeout(() => { M._mlfq_pause(M._mlfq_escape_ms()); showOutput(); }, M._mlfq_escape_ms());
    showOutput();
  }
  term.onData((data) => typed(utf8.encode(data)));
  term.onBinary((data) => typed(bytesOf(data)));
  document.querySelectorAll('[data-tecla]').forEach((b) => b.addEventListener('click', () => {
    typed(utf8.encode(b.dataset.tecla));
    if (b.dataset.tecla === '\x1b') { clearTimeout(escapeTimer); M._mlfq_pause(M._mlfq_escape_ms()); showOutput(); }
    term.focus();
  }));

  // --- Beside the terminal, live. --------------------------------------------------------
  const cell = (text, numeric) => { const td = document.createElement('td'); td.textContent = text === null || text === undefined ? '-' : String(text); if (numeric) td.className = 'n'; return td; };
  const places = { cpu: 'na CPU', pronto: 'pronto', io: 'em IO', nao_chegou: 'ainda não chegou' };
  function refresh() {
    if (!loaded) return;
    const s = state();
    $('grafico').innerHTML = cString(M._mlfq_chart());
    const list = $('eventos'); list.replaceChildren();
    for (const e of s.eventos) {
      const li = document.createElement('li');
      const why = document.createElement('span'); why.className = 'motivo'; why.textContent = `porque ${e.motivo}`;
      li.append(e.texto, why);
      list.append(li);
    }
    const queues = $('filas').tBodies[0]; queues.replaceChildren();
    for (const p of s.onde) {
      const tr = document.createElement('tr');
      tr.append(cell(p.nome), cell(places[p.onde]), cell(p.fila ?? '-', true),
                cell(p.surtos.map(([cpu, io]) => `${cpu} / ${io}`).join(', ')));
      queues.append(tr);
    }
    const table = $('processos').tBodies[0]; table.replaceChildren();
    for (const p of s.processos) {
      const tr = document.createElement('tr');
      const response = p.primeiro_despacho === null ? null : p.primeiro_despacho - p.chegada;
      tr.append(cell(p.nome), cell(p.chegada, true), cell(p.primeiro_despacho, true), cell(response, true),
                cell(p.pronto, true), cell(p.termino, true), cell(p.turnaround, true));
      table.append(tr);
    }
    const waits = { menu: 'esperando uma tecla no menu', tab: 'esperando TAB após um evento', listagem: 'esperando uma tecla após a listagem', fim: 'o simulador terminou (ESC)' };
    $('estado').textContent = `Tempo ${s.tempo}, ${s.passos} passo(s) dados; ${waits[s.esperando] || ''}${s.completa ? '; todos os processos terminaram' : ''}.`;
  }

  // --- The workload and the rules. ------------------------------------------------------
  const form = $('regras');
  for (const rule of ruleTable) {
    const label = document.createElement('label');
    const input = document.createElement('input');
    input.dataset.opcao = rule.opcao;
    if (rule.valor === null) { input.type = 'checkbox'; label.append(input, ` --${rule.opcao}`); }
    else { input.type = 'text'; input.placeholder = rule.valor; label.append(`--${rule.opcao} `, input); }
    label.title = rule.ajuda;
    form.append(label);
    input.addEventListener('input', showCommand);
  }
  function ruleWords() {
    const words = [];
    for (const input of form.querySelectorAll('input')) {
      if (input.type === 'checkbox' ? input.checked : input.value.trim() !== '') {
        words.push(`--${input.dataset.opcao}`);
        if (input.type !== 'checkbox') words.push(input.value.trim());
      }
    }
    return words;
  }
  function setRules(words) {
    for (const input of form.querySelectorAll('input')) { input.checked = false; input.value = ''; }
    for (let i = 0; i < words.length; i++) {
      const input = form.querySelector(`input[data-opcao="${words[i].replace(/^--/, '')}"]`);
      if (!input) continue;
      if (input.type === 'checkbox') input.checked = true; else input.value = words[++i] ?? '';
    }
    showCommand();
  }
  function showCommand() { $('comando').textContent = ['mlfq', ...ruleWords(), 'processo.txt'].join(' '); }
  $('livro').addEventListener('click', () => setRules(['--tempo-livro', '--preempcao', '--io-mantem-fila', '--cota']));
  $('classicas').addEventListener('click', () => setRules([]));

  // A file's bytes as text: UTF-8, else Windows-1252 as an editor on Windows saves it.
  function decodeWorkload(bytes) {
    try { return new TextDecoder('utf-8', { fatal: true }).decode(bytes); } catch (e) { return new TextDecoder('windows-1252').decode(bytes); }
  }
  for (const example of MLFQ_EXAMPLES) {
    const option = document.createElement('option');
    option.textContent = example.nome; option.value = example.nome;
    $('exemplos').append(option);
  }
  $('exemplos').addEventListener('change', () => {
    const example = MLFQ_EXAMPLES.find((e) => e.nome === $('exemplos').value);
    $('texto').value = decodeWorkload(bytesOf(example.texto));
    start();
  });
  $('arquivo').addEventListener('change', async () => {
    const file = $('arquivo').files[0];
    if (!file) return;
    $('texto').value = decodeWorkload(new Uint8Array(await file.arrayBuffer()));
    start();
  });

  // Loads a workload; null, or the loader's error with its line (0: the options).
  function load(text, words) {
    const line = withBytes(utf8.encode(text), (at, n) =>
      withBytes(utf8.encode(words.join('\n')), (oat, on) => M._mlfq_load(at, n, oat, on)));
    term.reset(); written = 0;
    if (line >= 0) {
      loaded = false;
      const error = { linha: line, mensagem: result() };
      $('erro').textContent = line > 0 ? `Linha ${line}: ${error.mensagem}` : error.mensagem;
      markLine(line);
      return error;
    }
    loaded = true;
    $('erro').textContent = '';
    showOutput();
    prediction = [];
    drawGrid();
    return null;
  }
  function markLine(line) {
    if (line <= 0) return;
    const lines = $('texto').value.split('\n');
    const from = lines.slice(0, line - 1).reduce((n, l) => n + l.length + 1, 0);
    $('texto').focus();
    $('texto').setSelectionRange(from, from + (lines[line - 1] || '').length);
  }
  function start() { showCommand(); load($('texto').value, ruleWords()); location.hash = fragment(); term.focus(); }
  $('carregar').addEventListener('click', start);
  $('reiniciar').addEventListener('click', start);

  // --- Controls the screens do not have. ------------------------------------------------
  $('voltar').addEventListener('click', () => { M._mlfq_back(); showOutput(); });
  $('fim').addEventListener('click', () => { M._mlfq_run(-1); showOutput(); });
  $('passos').addEventListener('click', (e) => { if (e.target.id === 'quantos') return; M._mlfq_run(Math.max(1, parseInt($('quantos').value, 10) || 1)); showOutput(); });

  // --- Sharing: the workload and the rules in the address's fragment. --------------------
  const percent = (s) => Array.from(utf8.encode(s), (b) => /[A-Za-z0-9_.~-]/.test(String.fromCharCode(b)) ? String.fromCharCode(b) : '%' + b.toString(16).toUpperCase().padStart(2, '0')).join('');
  const unpercent = (s) => decodeWorkload(Uint8Array.from(s.replace(/%([0-9A-Fa-f]{2})|([^%])/g, (m, hex, c) => String.fromCharCode(hex ? parseInt(hex, 16) : c.charCodeAt(0))), (c) => c.charCodeAt(0) & 255));
  function fragment() { return `#carga=${percent($('texto').value)}&regras=${percent(ruleWords().join(' '))}${document.body.classList.contains('so-exercicio') ? '&modo=exercicio' : ''}`; }
  function fromFragment() {
    const fields = new Map(location.hash.replace(/^#/, '').split('&').filter(Boolean).map((kv) => { const i = kv.indexOf('='); return [kv.slice(0, i), kv.slice(i + 1)]; }));
    if (!fields.has('carga')) return false;
    $('texto').value = unpercent(fields.get('carga'));
    setRules(unpercent(fields.get('regras') || '').split(' ').filter(Boolean));
    document.body.classList.toggle('so-exercicio', fields.get('modo') === 'exercicio');
    return true;
  }
  $('copiar').addEventListener('click', async () => {
    location.hash = fragment();
    try { await navigator.clipboard.writeText(location.href); $('aviso').textContent = 'Link copiado.'; }
    catch (e) { $('aviso').textContent = `Copie o endereço: ${location.href}`; }
  });

  // --- Export: what the native program writes for the same workload and rules. ---------
  function download(name, blob) {
    const a = document.createElement('a');
    a.href = URL.createObjectURL(blob); a.download = name; a.click();
    setTimeout(() => URL.revokeObjectURL(a.href), 1000);
  }
  const wholeRun = (format) => { const text = cString(M._mlfq_whole_run(format)); showOutput(); return text; };
  function pngOfChart() {
    return new Promise((resolve, reject) => {
      const svg = wholeRun(1);
      const image = new Image();
      image.onload = () => {
        const canvas = document.createElement('canvas');
        canvas.width = image.width; canvas.height = image.height;
        canvas.getContext('2d').drawImage(image, 0, 0);
        canvas.toBlob((blob) => (blob ? resolve(blob) : reject(new Error('PNG'))), 'image/png');
      };
      image.onerror = reject;
      image.src = 'data:image/svg+xml;charset=utf-8,' + encodeURIComponent(svg);
    });
  }
  document.querySelectorAll('[data-exportar]').forEach((b) => b.addEventListener('click', async () => {
    if (!loaded) return;
    const kind = b.dataset.exportar;
    if (kind === 'png') return download('gantt.png', await pngOfChart());
    const types = { json: ['relatorio.json', 0, 'application/json'], svg: ['gantt.svg', 1, 'image/svg+xml'], html: ['relatorio.html', 2, 'text/html'] };
    const [name, format, type] = types[kind];
    download(name, new Blob([wholeRun(format)], { type }));
  }));

  // --- Exercise: the student predicts who holds the CPU in each unit, the page checks. ---
  // "Holds the CPU in unit t" is what the timeline's digit means.
  function answerKey() {
    const run = JSON.parse(wholeRun(0));
    const holder = new Array(run.tempo_total).fill('');
    for (const p of run.processos)
      for (const [from, to, state] of p.linha_do_tempo)
        if (state >= '1' && state <= '8') for (let t = from; t < to; t++) holder[t] = p.nome;
    return { run, holder };
  }
  function reasonAt(run, t, expected) {
    if (expected === '') return `No tempo ${t} a CPU fica ociosa: nenhum processo estava pronto (chegadas e IO ainda por vir).`;
    let last = null;
    for (const e of run.eventos) if (e.evento === 'despacho' && e.processo === expected && e.tempo <= t) last = e;
    const events = run.eventos.filter((e) => e.tempo === t).map((e) => `${e.evento}${e.processo ? ' de ' + e.processo : ''}: ${e.motivo}`);
    return `No tempo ${t} quem tem a CPU é ${expected}` + (last ? `, despachado no tempo ${last.tempo} porque ${last.motivo}` : '') +
      (events.length ? `. Eventos do tempo ${t}: ${events.join(' | ')}` : '.');
  }
  function verificar(previsao) {
    const { run, holder } = answerKey();
    for (let t = 0; t < holder.length; t++) {
      const said = t < previsao.length ? (previsao[t] ?? '') : undefined;
      if (said !== holder[t]) return { certo: false, primeiro_erro: t, esperado: holder[t], motivo: reasonAt(run, t, holder[t]) };
    }
    for (let t = holder.length; t < previsao.length; t++)
      if (previsao[t]) return { certo: false, primeiro_erro: t, esperado: '', motivo: `A simulação acaba no tempo ${holder.length}: depois disso ninguém usa a CPU.` };
    return { certo: true, primeiro_erro: null, esperado: null, motivo: `Todas as ${holder.length} unidades certas.` };
  }
  let prediction = [];
  function drawGrid() {
    if (!loaded) { $('grade').replaceChildren(); return; }
    const { run, holder } = answerKey();
    const names = ['', ...run.processos.map((p) => p.nome)];
    const columns = Math.ceil((holder.length + 5) / 10) * 10; // the length gives the end away no more than a worksheet does
    const table = document.createElement('table');
    const ruler = table.insertRow();
    for (let t = 0; t < columns; t++) { const th = document.createElement('th'); th.textContent = t % 5 === 0 ? String(t) : ''; ruler.append(th); }
    const row = table.insertRow();
    for (let t = 0; t < columns; t++) {
      const td = row.insertCell();
      td.tabIndex = 0;
      if (t % 5 === 0) td.className = 'marca';
      const show = () => { td.textContent = prediction[t] || '·'; };
      td.addEventListener('click', () => { prediction[t] = names[(names.indexOf(prediction[t] || '') + 1) % names.length]; show(); });
      td.addEventListener('keydown', (e) => {
        const match = e.key === ' ' ? '' : names.find((n) => n && n[0].toLowerCase() === e.key.toLowerCase());
        if (match === undefined) return;
        e.preventDefault(); prediction[t] = match; show();
        (td.nextElementSibling || td).focus();
      });
      show();
    }
    $('grade').replaceChildren(table);
  }
  function markGrid(result) {
    const cells = $('grade').querySelectorAll('tr:nth-child(2) td');
    cells.forEach((td, t) => { td.classList.remove('errado', 'certo'); if (result.primeiro_erro === null || t < result.primeiro_erro) td.classList.add('certo'); else if (t === result.primeiro_erro) td.classList.add('errado'); });
  }
  $('verificar').addEventListener('click', () => {
    const result = verificar(prediction.map((p) => p || ''));
    markGrid(result);
    $('veredito').textContent = result.certo ? result.motivo
      : `Certas: ${result.primeiro_erro} unidade(s). Primeiro erro no tempo ${result.primeiro_erro}: o certo é ${result.esperado || 'CPU ociosa'}. ${result.motivo}`;
  });
  $('revelar').addEventListener('click', () => { prediction = answerKey().holder.slice(); drawGrid(); markGrid({ primeiro_erro: null }); $('veredito').textContent = 'Resposta revelada.'; });
  $('limpar').addEventListener('click', () => { prediction = []; drawGrid(); $('veredito').textContent = ''; });
  $('modo-exercicio').addEventListener('click', () => document.body.classList.toggle('so-exercicio'));

  // --- For tests and for teachers' scripts. ---------------------------------------------
  window.mlfq = {
    carregar(texto, opcoes = []) { $('texto').value = texto; setRules(opcoes); return load(texto, opcoes); },
    teclas(s) {
      withBytes(bytesOf(s), (at, n) => M._mlfq_keys(at, n));
      if (M._mlfq_pending()) M._mlfq_pause(M._mlfq_escape_ms()); // nothing else arrives: the wait passes
      showOutput();
    },
    saida: () => latin1(output()),
    fim: () => { const s = M._mlfq_status(); return s < 0 ? null : s; },
    relatorio: () => wholeRun(0),
    voltar() { M._mlfq_back(); showOutput(); },
    avancar(n) { M._mlfq_run(n === undefined ? -1 : n); showOutput(); },
    estado: state,
    svg: () => wholeRun(1),
    html: () => wholeRun(2),
    png: async () => new Uint8Array(await (await pngOfChart()).arrayBuffer()),
    link: fragment,
    verificar,
    pronto: true,
  };

  if (!fromFragment()) {
    const first = MLFQ_EXAMPLES.find((e) => e.nome === 'sala-de-aula') || MLFQ_EXAMPLES[0];
    $('exemplos').value = first.nome;
    $('texto').value = decodeWorkload(bytesOf(first.texto));
  }
  showCommand();
  load($('texto').value, ruleWords());
  window.addEventListener('hashchange', () => { if (fromFragment()) load($('texto').value, ruleWords()); });
  term.focus();
})();
