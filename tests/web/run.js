// Publishes assistant fixtures with amftool and drives the pages in headless Chromium.
// Usage: node run.js AMFTOOL [WORK_FOLDER]
// Exit status 0 when every check passed, 1 when one failed, 2 when the browser could not start.
'use strict';
const fs = require('fs');
const os = require('os');
const path = require('path');
const { execFileSync } = require('child_process');
const { pathToFileURL } = require('url');

let puppeteer;
try {
  puppeteer = require('puppeteer-core');
} catch (e) {
  console.error('puppeteer-core is not installed: run "npm ci" in tests/web (scripts/setup.sh does).');
  process.exit(2);
}

const amftool = process.argv[2];
const work = process.argv[3] || fs.mkdtempSync(path.join(os.tmpdir(), 'amf-web-'));
fs.mkdirSync(work, { recursive: true });

function xml(text) {
  return String(text).replace(/&/g, '&amp;').replace(/</g, '&lt;').replace(/>/g, '&gt;').replace(/"/g, '&quot;');
}
// An .amf document from a list of screens {id, caption, text: [...], options: [{caption, kind, command, text, script, note}]}.
function amf(caption, first, screens) {
  const out = ['<?xml version="1.0" encoding="UTF-8"?>', '<ASSISTANT NAME="A1" VERSION="1" BACKWARDS="0">',
    `<FIRST>${xml(first)}</FIRST>`, `<CAPTION>${xml(caption)}</CAPTION>`];
  screens.forEach((s) => {
    out.push(`<SCREEN NAME="${xml(s.id)}"><CAPTION>${xml(s.caption)}</CAPTION>`);
    (s.text || []).forEach((t) => out.push(`<DESCRIPTION>${xml(t)}</DESCRIPTION>`));
    (s.options || []).forEach((o, i) => {
      out.push(`<OPTION NAME="${xml(s.id)}O${i + 1}"><CAPTION>${xml(o.caption)}</CAPTION>`);
      (o.text || []).forEach((t) => out.push(`<DESCRIPTION>${xml(t)}</DESCRIPTION>`));
      if (o.script) out.push(`<SCRIPT>${xml(o.script)}</SCRIPT>`);
      out.push(`<ACTION TYPE="${o.kind}" COMMAND="${xml(o.command || '')}"/>`);
      if (o.note) out.push(`<NOTES NAME="${xml(o.note.name)}" TYPE="Hint" ID="N${i}">${xml(o.note.text)}</NOTES>`);
      out.push('</OPTION>');
    });
    out.push('</SCREEN>');
  });
  out.push('</ASSISTANT>', '');
  return out.join('\n');
}
function publish(name, text) {
  const source = path.join(work, name + '.amf');
  const page = path.join(work, name + '.html');
  fs.writeFileSync(source, text);
  execFileSync(amftool, ['publish', source, '-o', page], { stdio: ['ignore', 'ignore', 'inherit'] });
  return pathToFileURL(page).href;
}

const tour = publish('tour', amf('Printer help', 'S1', [
  { id: 'S1', caption: 'Welcome', text: ['Pick a problem.', 'Second paragraph.'],
    options: [
      { caption: 'Paper jam', kind: 'GOTO', command: 's2', text: ['When paper is stuck.'] },
      { caption: 'Vendor site', kind: 'INTERNET', command: 'https://example.com/help' },
      { caption: 'Open tool', kind: 'EXEC', command: 'notepad.exe log.txt' },
      { caption: 'Other assistant', kind: 'ASSISTANT', command: '{$EXE}\\Second.amf,S4' },
      { caption: 'A tip', kind: 'NOTE', note: { name: 'Tip', text: 'Turn it off and on.' } },
    ] },
  { id: 'S2', caption: 'Paper jam', text: ['Open the cover.'],
    options: [{ caption: 'Still stuck', kind: 'GOTOBUTTON', command: 'S3' }] },
  { id: 'S3', caption: 'Call support', text: ['Call us.'], options: [] },
]));

const hostileText = '<img src=x onerror="window.__ran=1">';
const hostile = publish('hostile', amf('<script>window.__ran=1</script>', 'S1', [
  { id: 'S1', caption: '</script><script>window.__ran=1</script>', text: [hostileText, '<b>bold</b>'],
    options: [
      { caption: '<a href="javascript:window.__ran=1">x</a>', kind: 'INTERNET', command: 'javascript:window.__ran=1' },
      { caption: 'Data link', kind: 'INTERNET', command: 'data:text/html,<script>1</script>' },
      { caption: 'Script', kind: 'SCRIPT', script: 'Sub Main\r</script><script>window.__ran=1</script>\rEnd Sub' },
      { caption: 'Note', kind: 'NOTE', note: { name: '<i>n</i>', text: '<svg onload="window.__ran=1">' } },
    ] },
]));

const big = [];
for (let i = 1; i <= 10000; i++)
  big.push({ id: 'S' + i, caption: 'Screen ' + i, text: ['Text of screen ' + i],
    options: i < 10000 ? [{ caption: 'Next', kind: 'GOTO', command: 'S' + (i + 1) }] : [] });
const large = publish('large', amf('Large', 'S1', big));

let failures = 0;
function check(ok, what) {
  if (ok) console.log('ok   ' + what);
  else { failures++; console.log('FAIL ' + what); }
}

async function texts(page, selector) {
  return page.$$eval(selector, (els) => els.map((e) => e.textContent));
}

(async () => {
  let browser;
  try {
    browser = await puppeteer.launch({
      executablePath: process.env.CHROMIUM || '/usr/bin/chromium',
      headless: true,
      args: ['--no-sandbox', '--disable-gpu', '--allow-file-access-from-files'],
    });
  } catch (e) {
    console.error('Chromium could not start (' + e.message.split('\n')[0] + '). Install the Debian package ' +
      '"chromium" or set CHROMIUM to the browser binary.');
    process.exit(2);
  }
  try {
    const page = await browser.newPage();
    const problems = [];
    page.on('console', (m) => { if (m.type() === 'error') problems.push(m.text()); });
    page.on('pageerror', (e) => problems.push(e.message));
    page.on('request', (r) => { if (!/^(file|data):/.test(r.url())) problems.push('request ' + r.url()); });

    // Start screen, paragraphs, options and their kinds.
    await page.goto(tour);
    check(await page.$eval('h1', (e) => e.textContent) === 'Welcome', 'starts at the first screen');
    check(JSON.stringify(await texts(page, 'main > p')) === '["Pick a problem.","Second paragraph."]',
      'text lines become paragraphs');
    check(await page.$eval('html', (e) => e.lang) === 'en', 'page has a lang attribute');
    const link = await page.$eval('.option a[href^="https"]', (a) => [a.href, a.target, a.rel]);
    check(link[0] === 'https://example.com/help' && link[1] === '_blank' && /noopener/.test(link[2]),
      'web page option opens in a new tab');
    const other = await page.$eval('.option a[href*="Second"]', (a) => a.getAttribute('href'));
    check(other === 'Second.html#S4', 'another assistant links to its page beside this one: ' + other);
    check((await texts(page, 'pre')).includes('notepad.exe log.txt') &&
      (await page.content()).includes('runs on the desktop'), 'program is shown as text with the desktop line');
    check((await texts(page, '.notes p')).includes('Turn it off and on.'), 'notes are shown');

    // Go-to, Back, Forward, Home, browser history.
    await page.click('.option button');
    check(await page.$eval('h1', (e) => e.textContent) === 'Paper jam', 'go-to option moves on');
    check(new URL(page.url()).hash === '#S2', 'address shows the screen: ' + page.url());
    await page.keyboard.press('1');
    check(await page.$eval('h1', (e) => e.textContent) === 'Call support', 'number key chooses an option');
    await page.click('#back');
    await page.waitForFunction(() => document.querySelector('h1').textContent === 'Paper jam', { timeout: 3000 })
      .then(() => check(true, 'Back returns'), () => check(false, 'Back returns'));
    await page.goBack();
    check(await page.$eval('h1', (e) => e.textContent) === 'Welcome', 'browser back returns to the start');
    await page.click('#forward');
    await page.waitForFunction(() => document.querySelector('h1').textContent === 'Paper jam', { timeout: 3000 })
      .then(() => check(true, 'Forward goes on again'), () => check(false, 'Forward goes on again'));
    await page.click('#home');
    check(await page.$eval('h1', (e) => e.textContent) === 'Welcome', 'Home goes to the first screen');
    // Keyboard: Tab reaches the option and Enter follows it.
    await page.focus('#home');
    await page.keyboard.press('Tab');
    const focused = await page.evaluate(() => document.activeElement.textContent);
    await page.keyboard.press('Enter');
    check(focused.includes('Paper jam') && (await page.$eval('h1', (e) => e.textContent)) === 'Paper jam',
      'Tab and Enter follow an option (focused "' + focused + '")');

    // Start at #ID, letters compared without case.
    const deep = await browser.newPage();
    await deep.goto(tour + '#s3');
    check(await deep.$eval('h1', (e) => e.textContent) === 'Call support', 'starts at #ID');
    await deep.goto(tour.replace(/#.*$/, '') + '#NoSuchScreen');
    await deep.reload();
    check(await deep.$eval('h1', (e) => e.textContent) === 'Welcome' && new URL(deep.url()).hash === '#S1',
      'an unknown #ID starts at the first screen and the address says so: ' + deep.url());
    await deep.close();

    // Hostile texts: shown as text, nothing runs, no javascript: or data: links.
    await page.goto(hostile);
    check(await page.evaluate(() => window.__ran === undefined), 'hostile page runs nothing of its texts');
    check(await page.$eval('h1', (e) => e.textContent) === '</script><script>window.__ran=1</script>',
      'markup in the caption is shown as text');
    check((await texts(page, 'main > p')).includes(hostileText), 'markup in the text is shown as text');
    check(await page.$$eval('main img, main b, main svg, main i', (e) => e.length) === 0, 'no element from texts');
    const hrefs = await page.$$eval('a', (as) => as.map((a) => a.getAttribute('href')));
    check(hrefs.length === 0, 'javascript: and data: addresses give no link: ' + JSON.stringify(hrefs));
    check((await page.content()).includes('cannot be opened from this page: javascript:window.__ran=1'),
      'refused address is shown as text');
    for (const b of await page.$$('main button')) await b.click().catch(() => {});
    check(await page.evaluate(() => window.__ran === undefined), 'clicking the hostile options runs nothing');

    // 10,000 screens open and only the current one is in the page.
    const started = Date.now();
    await page.goto(large);
    check(await page.$eval('h1', (e) => e.textContent) === 'Screen 1', 'a 10,000-screen assistant opens (' +
      (Date.now() - started) + ' ms)');
    check(await page.$$eval('main *', (e) => e.length) < 20, 'only the current screen is in the page');
    await page.goto(large + '#S9999');
    check(await page.$eval('h1', (e) => e.textContent) === 'Screen 9999', 'deep start screen of the large assistant');

    check(problems.length === 0, 'no script errors, policy violations or outside requests: ' +
      JSON.stringify(problems));
  } finally {
    await browser.close();
  }
  console.log(failures ? failures + ' check(s) failed' : 'all checks passed');
  process.exit(failures ? 1 : 0);
})().catch((e) => {
  console.error(e);
  process.exit(1);
});
