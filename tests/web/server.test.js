// The page's server on its own, serving a folder of the test's: its one line when it cannot listen,
// its silence when a visitor leaves mid-download, the header that makes a reload after a rebuild
// fetch the new page, and a link it does not follow. No browser: plain sockets.
'use strict';
const {test} = require('node:test');
const assert = require('node:assert');
const {spawn} = require('node:child_process');
const {once} = require('node:events');
const fs = require('node:fs');
const net = require('node:net');
const os = require('node:os');
const path = require('node:path');

// The server, stopped after 30 s in any case, and what it says; `address` fails if it ends first.
function serve(folder, port) {
  const server = spawn('python3', [path.join(__dirname, '../../scripts/serve-web.py'), folder, port]);
  server.said = {stdout: '', stderr: ''};
  server.stdout.on('data', chunk => server.said.stdout += chunk);
  server.stderr.on('data', chunk => server.said.stderr += chunk);
  server.ended = once(server, 'exit').then(([code]) => code);
  server.address = Promise.race([
    once(server.stdout, 'data').then(() => /http:\S+/.exec(server.said.stdout)[0]),
    server.ended.then(code => assert.fail(`the server ended (${code}): ${server.said.stderr}`))]);
  server.address.catch(() => {}); // a server that must not start is awaited through `ended`
  setTimeout(() => server.kill(), 30000).unref();
  return server;
}

test('a visitor gone mid-download leaves the console silent; files say no-cache, links 404', async () => {
  const folder = fs.mkdtempSync(path.join(os.tmpdir(), 'quiverfall-site-'));
  fs.writeFileSync(path.join(folder, 'index.html'), '<p>page</p>');
  // Far more than the sockets' buffers hold: the server is still writing when the visitor goes.
  fs.writeFileSync(path.join(folder, 'index.data'), Buffer.alloc(64 << 20));
  const server = serve(folder, '0');
  try {
    const address = new URL(await server.address);
    const response = await fetch(address);
    assert.strictEqual(await response.text(), '<p>page</p>');
    assert.strictEqual(response.headers.get('cache-control'), 'no-cache');
    // Only the folder's own plain files: a link, even to one of them, is not served.
    fs.symlinkSync('index.html', path.join(folder, 'linked.html'));
    assert.strictEqual((await fetch(new URL('linked.html', address))).status, 404);
    for (const leave of ['destroy', 'resetAndDestroy']) {
      const visitor = net.connect(address.port, '127.0.0.1');
      visitor.write('GET /index.data HTTP/1.1\r\nHost: localhost\r\n\r\n');
      await once(visitor, 'data');
      visitor[leave]();
    }
    await new Promise(resolve => setTimeout(resolve, 500));
    assert.strictEqual(server.said.stderr, '');
  } finally {
    server.kill();
    fs.rmSync(folder, {recursive: true});
  }
});

test('a port in use or not a port is one line and a failed status', async () => {
  const taken = net.createServer().listen(0, '127.0.0.1');
  await once(taken, 'listening');
  const port = String(taken.address().port);
  try {
    for (const [given, line] of [[port, `port ${port} is already in use`], ['http', `not 'http'`],
                                 ['65536', `not '65536'`]]) {
      const server = serve(os.tmpdir(), given);
      assert.notStrictEqual(await server.ended, 0, given);
      assert.match(server.said.stderr, new RegExp(`^serve-web: [^\\n]*${line}[^\\n]*\\n$`));
      assert.strictEqual(server.said.stdout, '', 'no address before the server listens');
    }
  } finally {
    taken.close();
  }
});
