// Starts korveth-lsp for Korveth scripts and hands it the dialect chosen in the settings.
const { workspace } = require('vscode');
const { LanguageClient } = require('vscode-languageclient/node');

let client;

function activate() {
  const settings = workspace.getConfiguration('korveth');
  const server = { command: settings.get('serverPath', 'korveth-lsp'), args: [] };
  client = new LanguageClient(
    'korveth',
    'Korveth Scripts',
    { run: server, debug: server },
    {
      documentSelector: [{ scheme: 'file', language: 'korveth' }],
      initializationOptions: { dialect: settings.get('dialect', 'auto') },
    },
  );
  return client.start();
}

function deactivate() {
  return client ? client.stop() : undefined;
}

module.exports = { activate, deactivate };
